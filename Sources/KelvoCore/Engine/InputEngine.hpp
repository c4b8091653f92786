#pragma once

#include "Detectors/EnglishDetector.hpp"
#include "Dictionary/SentenceDecoder.hpp"
#include "Engine/KeyInput.hpp"
#include "Formatting/TextFormatting.hpp"
#include "PersonalData/CustomTextStore.hpp"
#include "PersonalData/UserPhraseStore.hpp"
#include "Zhuyin/SyllableComposer.hpp"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// The composition state machine of the input method, free of any platform. The host hands it one
// KeyInput at a time, applies the Output, and redraws from preedit(), sheetView() (or
// englishHintView()) and feedback(). One engine per input client; not thread-safe.
class InputEngine {
public:
    // The answer to one key.
    struct Output {
        bool handled = false;                  // false: the client receives the key itself
        std::optional<std::string> commitText; // text to insert into the client now

        friend bool operator==(const Output&, const Output&) = default;
    };

    // The marked text: runs of one style each, with caret and selected stretch in UTF-16 units.
    struct Preedit {
        enum class Style { converted, active, raw };
        struct Piece {
            std::string text;
            Style style = Style::converted;
            friend bool operator==(const Piece&, const Piece&) = default;
        };
        struct Range {
            int start = 0;
            int length = 0;
            friend bool operator==(const Range&, const Range&) = default;
        };

        std::vector<Piece> pieces; // never empty pieces, never two neighbours of one style
        int caretUTF16 = 0;
        std::optional<Range> activeRangeUTF16;

        std::string text() const;
        bool isEmpty() const { return pieces.empty(); }
        friend bool operator==(const Preedit&, const Preedit&) = default;
    };

    // The composition panel's three lines.
    struct Feedback {
        std::string text;
        std::string zhuyin;
        std::string rawKeys;
        friend bool operator==(const Feedback&, const Feedback&) = default;
    };

    // The candidate list as the panel draws it.
    struct SheetView {
        struct Item {
            std::string label; // the digit that selects it, or empty
            std::string value;
            int index = 0; // for selectCandidate
            friend bool operator==(const Item&, const Item&) = default;
        };

        std::vector<Item> items;
        int highlightedInPage = 0; // within items when collapsed, absolute when expanded
        int pageIndex = 0;
        int pageCount = 1;
        int anchorUTF16 = 0;
        bool expanded = false;
        int columns = 9;
        friend bool operator==(const SheetView&, const SheetView&) = default;
    };

    explicit InputEngine(std::shared_ptr<const Lexicon> lexicon);
    // One engine per client: its decoder's hooks refer to this engine's learning switch.
    InputEngine(const InputEngine&) = delete;
    InputEngine& operator=(const InputEngine&) = delete;

    Output handle(const KeyInput& key);
    Preedit preedit() const;
    std::optional<Feedback> feedback() const;
    std::optional<SheetView> sheetView() const;
    std::optional<SheetView> englishHintView() const;
    bool selectCandidate(int index);
    void setCandidatesExpanded(bool expanded);
    // Ends the composition: the formatted text to commit, absent when empty. Leaves the engine idle.
    std::optional<std::string> flush();
    void endLiteralRun() { state_.isInLiteralRun = false; }

    bool isIdle() const;
    bool candidatesExpanded() const { return state_.candidatesExpanded; }
    bool isInLiteralRun() const { return state_.isInLiteralRun; }
    std::optional<std::string> numberHint() const;
    std::optional<std::string> englishHint() const;

    // Settings, assigned by the host before keys.
    int pageSize = 9; // 0 or less counts as 1
    bool fullWidthPunctuation = true;
    std::optional<PunctuationMode> punctuationMode;
    bool englishHintEnabled = true;
    bool automaticEnglishEnabled = true;
    bool automaticNumbersEnabled = true;
    TextFormatting formatting;
    bool customTextEnabled = false;
    std::shared_ptr<CustomTextStore> customTexts;
    std::shared_ptr<const EnglishDetector> englishDetector;

    // Changing learning re-decodes the composition; so does attaching or detaching learned data.
    bool learningEnabled() const { return *learningEnabled_; }
    void setLearningEnabled(bool enabled);
    const std::shared_ptr<UserPhraseStore>& userPhrases() const { return userPhrases_; }
    void setUserPhrases(std::shared_ptr<UserPhraseStore> store);

    const std::shared_ptr<const Lexicon>& lexicon() const { return lexicon_; }

    // What is inconsistent in the engine's state, if anything: element keys out of step, cursor or
    // pins out of range, overlapping pins, a highlight outside its list, a caret or active range
    // outside the marked text. For tests and diagnostics.
    std::optional<std::string> invariantViolation() const;

private:
    // The open candidate list.
    struct Sheet {
        std::vector<DecodedSegment> all;
        int anchor = 0;
        int highlighted = 0;
    };

    // One entry of a bilingual list: English text to insert, or the Chinese reading of the keys.
    struct BilingualChoice {
        enum class Kind { english, tone1 };
        Kind kind = Kind::english;
        std::string text;
        friend bool operator==(const BilingualChoice&, const BilingualChoice&) = default;
    };

    struct BilingualSheet {
        std::vector<BilingualChoice> choices;
        int highlighted = 0;
        std::optional<int> replacementIndex; // the element an English choice replaces
    };

    // Everything a composition holds; reset() returns it to this initial state.
    struct Composition {
        std::vector<Element> elements;
        std::vector<std::string> elementKeys; // the keys typed for each element
        std::set<int> explicitEnglishCase;    // elements whose case the user chose
        int cursor = 0;
        std::vector<DecodedSegment> pins;
        SyllableComposer composer;
        std::vector<DecodedSegment> walked;
        std::optional<Sheet> sheet;
        bool candidatesExpanded = false;
        std::string numericRaw;
        int numericElements = 0;
        bool numericWasOverwritten = false;
        bool numericWasLiteral = false;
        bool isInLiteralRun = false;
        std::optional<BilingualSheet> bilingual;
        std::optional<std::string> automaticEnglishBuffer;
        int automaticEnglishBoundary = 0;
        std::optional<std::string> customTextBuffer;
    };

    using MaybeOutput = std::optional<Output>;
    static Output handled() { return {true, std::nullopt}; }
    static Output notHandled() { return {false, std::nullopt}; }

    // Dispatch (Dispatch.cpp).
    void doHousekeeping(const KeyInput& key);
    Output handleTypedCharacter(const std::string& c);
    Output handleRepeatedOrEnglishLiteral(const KeyInput& key);
    Output handleKeyWithoutPayload(KeyInput::Kind kind);
    Output handleSpace();
    Output handleEscape();
    Output handleBackspace();
    Output handleTab();
    Output handleArrowDown();

    // Composition and its editing (Composition.cpp).
    Output handleCharacter(const std::string& c);
    void insert(Element element, const std::optional<std::string>& rawKeys);
    void removeElement(int index);
    void insertLiteral(std::string text);
    void insertLiteralCharacters(std::string_view text);
    void reset();
    void redecode();
    void clearComposer() { state_.composer.clear(); }
    void closeSheet();
    std::optional<int> anchorIndex() const;
    std::optional<DecodedSegment> anchorSegment() const;
    bool usesChinesePunctuation() const;
    int effectivePageSize() const { return pageSize < 1 ? 1 : pageSize; }

    // Candidate sheets (Sheets.cpp).
    void openSheet();
    bool openPunctuationSheet();
    MaybeOutput handleInSheet(const KeyInput& key);
    void select(const DecodedSegment& segment);
    std::optional<SheetView> candidateSheetView() const;

    // Bilingual list and English hint (Bilingual.cpp).
    std::optional<std::string> englishCandidateKeys() const;
    void openBilingualSheet(const std::optional<std::string>& raw);
    MaybeOutput handleInBilingual(const KeyInput& key);
    void selectBilingual(BilingualChoice choice); // by value: the choice may live in the sheet it closes
    std::optional<SheetView> bilingualSheetView() const;

    // Marked text and feedback (Preedit.cpp).
    std::vector<std::string> elementTexts() const;
    std::string pendingText() const;
    int utf16LengthOfTextsBefore(int index) const;

    // Numbers, long press and text shortcuts (Numbers.cpp).
    bool automaticNumberReady() const;
    bool producedUnknownReading() const;
    void trackNumeric(const std::string& c, bool composerWasEmpty);
    void acceptNumber();
    void cancelNumericRun();
    Output retypeNumberWithoutLastKey();
    Output handleLongPress(const std::string& c);
    MaybeOutput handleCustomText(const KeyInput& key);

    // English runs inside Chinese (EnglishRuns.cpp, HeldEnglish.cpp).
    bool recognisesEnglish() const;
    bool isEnglishWordOrTerm(std::string_view prefix) const;
    MaybeOutput handleBufferedEnglish(const KeyInput& key);
    int updatedEnglishBoundary(std::string_view buffer, int boundary) const;
    bool cleanKnownZhuyinTone(const std::string& c) const;
    std::optional<int> englishPrefixLength(std::string_view raw) const;
    bool isUnlistedEnglish() const;
    std::string formattedEnglish(std::string_view raw, int boundary) const;
    bool acceptChineseSuffix(std::string_view raw, int boundary, const std::string& toneKey);
    bool acceptUnlistedEnglishBeforeChinese(const std::string& toneKey);
    bool hasEnglishContext() const;
    bool formsKnownTone1Reading(const Syllable& syllable) const;
    std::vector<UTF16Range> explicitCaseRanges() const;

    // Commit and learning (Commit.cpp).
    std::string committedText() const;
    void learnPinnedWords();
    void learnSequences();

    std::shared_ptr<const Lexicon> lexicon_;
    SentenceDecoder decoder_;
    Composition state_;
    std::optional<std::string> longPressKey_; // survives reset
    // Shared with the decoder's hooks, which hold it weakly: they see the switch, and the end of the
    // engine, without keeping either alive.
    std::shared_ptr<bool> learningEnabled_ = std::make_shared<bool>(true);
    std::shared_ptr<UserPhraseStore> userPhrases_;
};

} // namespace kelvo
