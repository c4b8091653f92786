#pragma once

#include "Dictionary/SentenceDecoder.hpp"
#include "Engine/Composition.hpp"
#include "Engine/EngineSettings.hpp"
#include "Engine/EngineState.hpp"
#include "Engine/KeyInput.hpp"
#include "Engine/KeyLattice.hpp"
#include "Engine/KeyRunScorer.hpp"
#include "PersonalData/UserPhraseStore.hpp"
#include "Text/UTF16.hpp"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// The composition state machine of the input method, free of any platform. The host hands it one
// KeyInput at a time, applies the Output, and redraws from preedit(), sheetView() (or
// englishHintView()) and feedback(). One engine per input client; not thread-safe.
//
// The engine is in one state at a time (EngineState): composing syllables, a literal run, held
// English, a shortcut buffer, or a candidate or bilingual list. `handle` (KeyChain.cpp) gives each
// key to the state that owns it; each state's keys live in a file of their own. Held keys and the
// lists decide what a key does, changing only their own data, and return a step (HeldKeysStep,
// ListStep) that the engine carries out on the composition.
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
            // The stretch of the marked text a word candidate replaces, in UTF-16 units (a panel
            // may mark it); empty for the other lists.
            int startUTF16 = 0;
            int lengthUTF16 = 0;
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

    Output handle(const KeyInput& key);
    Preedit preedit() const;
    std::optional<Feedback> feedback() const;
    std::optional<SheetView> sheetView() const;
    std::optional<SheetView> englishHintView() const;
    bool selectCandidate(int index);
    void setCandidatesExpanded(bool expanded);
    // Ends the composition: the formatted text to commit, absent when empty. Leaves the engine idle.
    std::optional<std::string> flush();
    // What `flush` would commit now, changing nothing and learning nothing.
    std::optional<std::string> textToCommit() const;
    void endLiteralRun();

    bool isIdle() const;
    bool candidatesExpanded() const;
    bool isInLiteralRun() const { return std::holds_alternative<LiteralRun>(state_); }
    std::optional<std::string> numberHint() const;
    std::optional<std::string> englishHint() const;

    const EngineSettings& settings() const { return settings_; }
    // Takes effect at the next key; a change of learning re-decodes the composition at once.
    void setSettings(EngineSettings settings);
    // Attaching or detaching learned data re-decodes the composition.
    // How likely each word is after the one before it; without it words are scored alone.
    void setWordPairs(std::shared_ptr<const WordPairModel> model);

    const std::shared_ptr<UserPhraseStore>& userPhrases() const { return userPhrases_; }
    void setUserPhrases(std::shared_ptr<UserPhraseStore> store);

    const std::shared_ptr<const Lexicon>& lexicon() const { return lexicon_; }
    const EngineState& state() const { return state_; }

    // What is inconsistent in the engine's state, if anything: element keys out of step, cursor or
    // pins out of range, overlapping pins, a highlight outside its list, a caret or active range
    // outside the marked text. For tests and diagnostics.
    std::optional<std::string> invariantViolation() const;

private:
    using MaybeOutput = std::optional<Output>;
    static Output handled() { return {true, std::nullopt}; }
    static Output notHandled() { return {false, std::nullopt}; }

    // What the views show, computed once after a change rather than on every redraw.
    struct Presentation {
        std::vector<std::string> texts; // what each element shows
        std::string pending;            // what is typed but not yet an element, at the cursor
        bool pendingIsEnglish = false;  // the composer's keys read as English
        std::optional<std::string> numberHint;
        bool numberReady = false;
        std::optional<std::string> englishHint;
    };

    // The handler chain and what every key does first (KeyChain.cpp).
    void doHousekeeping(const KeyInput& key);
    Output handleByKind(const KeyInput& key);

    // Editing the composition; every edit re-decodes (InputEngine.cpp).
    void insertElement(Element element, std::string keys = {});
    void insertLiteral(std::string text) { insertElement(Element::literal(std::move(text))); }
    void insertLiteralCharacters(std::string_view text);
    void removeElementBeforeCursor();
    void removeElements(int count);
    void redecode();
    void reset();
    const LearnedModel* learnedModel() const;
    const SyllableComposer& composer() const;
    SyllableComposer* mutableComposer();
    void clearComposer();
    Composing* composing() { return std::get_if<Composing>(&state_); }
    std::optional<DecodedSegment> anchorSegment() const;

    // Composing syllables (ComposingKeys.cpp, ComposingControlKeys.cpp).
    Output handleTypedCharacter(const std::string& c);
    Output handleZhuyinKey(const std::string& c);
    Output pressIntoComposer(const std::string& c);
    Output handleEnglishLiteral(const std::string& c);
    Output handleLongPress(const std::string& c);
    Output handleSpace();
    Output handleEnter();
    Output handleEscape();
    Output handleBackspace();
    Output handleTab();
    Output handleArrowSideways(KeyInput::Kind kind);
    bool settleFinishedKeys();
    Output handleArrowDown();

    // The literal run (LiteralRun.cpp).
    MaybeOutput handleInLiteralRun(const KeyInput& key);
    void startLiteralRun();

    // Numbers typed on the Zhuyin keys (NumberRun.cpp).
    const NumberRun* numberRun() const;
    bool automaticNumberReady() const;
    bool producedUnknownReading() const;
    void cancelNumericRun();
    void acceptNumber();
    Output retypeNumberWithoutLastKey();
    MaybeOutput numberEndedByPunctuation(const std::string& c);
    MaybeOutput numberFollowedByLetter(const std::string& c);

    // Text shortcuts (ShortcutBuffer.cpp).
    MaybeOutput handleInShortcutBuffer(const KeyInput& key);

    // Held English (HeldEnglish.cpp).
    MaybeOutput handleInHeldEnglish(const KeyInput& key);

    // What a state holding keys back decided (HeldKeysStep.cpp).
    MaybeOutput carryOut(const HeldKeysStep& step, bool english);
    void holdEnglish(std::string keys);

    // Stretches of keys read through the lattice (KeyStretch.cpp). What keys typed next are read
    // with (ReadContext.cpp): the syllables before the cursor and the English run before them, if
    // any, as keys and segments.
    struct ReadContext {
        int firstElement = 0;
        std::string keys;
        std::vector<KeySegment> segments;
        bool startsHeld() const { return segments.front().kind == KeySegment::Kind::english; }
    };
    std::optional<ReadContext> readContextBeforeCursor() const;
    std::optional<ReadContext> contextFrom(int first) const;
    std::optional<ReadContext> englishContext(int runStart, int first) const;
    void appendElementSegments(ReadContext& context, int first) const;
    bool pinsSpare(int first) const; // no pin between `first` and the cursor
    // New keys with what the lattice reads them with: the context, and else the reading before.
    struct KeysAtCursor {
        std::optional<ReadContext> context;
        std::string keys;
        std::optional<std::string> previousReading;
    };
    KeysAtCursor keysAtCursor(std::string_view newKeys) const;
    std::optional<std::size_t> typedKeysAtCursor(std::string_view next, KeySegment::Kind leading) const;
    std::optional<std::size_t> englishKeysAtCursor(std::string_view next) const {
        return typedKeysAtCursor(next, KeySegment::Kind::english);
    }
    // Reads the keys a tone key ends, with their context, through the lattice; nothing
    // when the composer's syllable stands and the caller goes on. `runIsSyllable`: the keys are a
    // clean known syllable, which only a moved word boundary may change.
    MaybeOutput settleKeyRun(const std::string& toneKey, bool runIsSyllable);
    bool acceptSyllableAfterHeldEnglish(std::string_view keys, const std::string& toneKey);
    void insertKeySegments(std::string_view keys, const std::vector<KeySegment>& segments);

    // English runs inside Chinese (EnglishRuns.cpp).
    std::optional<std::string> unfinishedKeysAsEnglish() const;
    std::optional<KeyRunScorer> keyRunScorer() const;
    bool offersEnglishAtSpace(bool cleanSyllable) const;
    bool cleanKnownZhuyinTone(const std::string& c) const;
    std::string formattedEnglish(std::string_view keys) const;
    void insertComposerAsEnglish(std::string_view after = {});
    bool formsKnownTone1Reading(const Syllable& syllable) const;
    std::vector<UTF16Range> explicitCaseRanges() const;

    // The candidate list (CandidateSheet.cpp).
    void openSheet();
    MaybeOutput handleInSheet(const KeyInput& key);
    void select(DecodedSegment segment);
    std::optional<SheetView> candidateSheetView(const CandidateSheet& sheet) const;

    // The bilingual list and the English hint (BilingualSheet.cpp).
    std::optional<std::string> englishCandidateKeys() const;
    void openBilingualSheet(const std::optional<std::string>& raw, bool endsWithSpace = false);
    bool openPunctuationSheet();
    MaybeOutput handleInBilingual(const KeyInput& key);
    void typeOnAfterBilingual(int chosen);
    void closeBilingualSheet();
    void selectBilingual(BilingualChoice choice);
    std::optional<SheetView> bilingualSheetView(const BilingualSheet& sheet) const;

    // What the views show (Views.cpp).
    const Presentation& presentation() const;
    Presentation present() const;
    std::vector<std::string> elementTexts() const;
    std::string pendingText() const;
    std::string pendingText(std::optional<std::size_t> englishKeys) const;
    int utf16LengthOfTextsBefore(int index) const;

    // Commit and learning (Commit.cpp).
    std::string committedText() const;
    std::string formattedCommittedText() const;
    std::string committedPendingText() const;
    void learnChoices();
    void learnPinnedWords();
    void learnSequences();
    void learnEnglishWords();

    std::shared_ptr<const Lexicon> lexicon_;
    std::shared_ptr<const DachenKeyModel> keyModel_;
    SentenceDecoder decoder_;
    EngineSettings settings_;
    std::shared_ptr<UserPhraseStore> userPhrases_;
    EngineState state_;
    Composition composition_;
    std::vector<DecodedSegment> decoded_;     // the decoder's best path over the composition
    std::optional<std::string> longPressKey_; // survives the end of a composition
    mutable std::optional<Presentation> presentation_;
};

} // namespace kelvo
