// The English hint and the bilingual list: the keys offered as an English word next to their
// Chinese reading, and the same list for the width variants of a punctuation mark.
#include "Engine/InputEngine.hpp"
#include "Formatting/Punctuation.hpp"
#include "Text/Characters.hpp"

#include <algorithm>
#include <set>

namespace kelvo {

std::optional<std::string> InputEngine::englishHint() const {
    if (!settings_.englishHint) return std::nullopt;
    const std::string& raw = composer().rawKeys();
    auto characters = characterViews(raw);
    if (characters.size() < 2) return std::nullopt;
    bool lettersAndNumbers = std::all_of(characters.begin(), characters.end(),
                                         [](std::string_view c) { return isLetter(c) || isNumber(c); });
    bool someLetter = std::any_of(characters.begin(), characters.end(), isLetter);
    if (!lettersAndNumbers || !someLetter) return std::nullopt;
    const auto& words = settings_.englishDetector;
    if ((words && words->isWord(raw)) || composer().overwriteCount() > 0) return raw;
    return std::nullopt;
}

std::optional<std::string> InputEngine::englishCandidateKeys() const {
    if (auto hint = englishHint()) return hint;
    const std::string& raw = composer().rawKeys();
    if (characterCount(raw) == 1 && isASCII(raw) && (isLetter(raw) || isPunctuation(raw) || isSymbol(raw)))
        return raw;
    return std::nullopt;
}

void InputEngine::openBilingualSheet(const std::optional<std::string>& raw, bool endsWithSpace) {
    std::optional<std::string> word = raw ? raw : englishHint();
    Composing* underneath = composing();
    if (!word || !underneath) return;
    const std::string& w = *word;
    BilingualSheet sheet;
    auto add = [&](std::string text) {
        bool known = std::any_of(sheet.choices.begin(), sheet.choices.end(),
                                 [&](const BilingualChoice& choice) { return choice.text == text; });
        if (!known) sheet.choices.push_back({BilingualChoice::Kind::english, std::move(text)});
    };
    add(settings_.formatting.preferredVariant(w));
    add(w);
    auto characters = characterViews(w);
    if (!characters.empty()) add(uppercased(characters[0]) + w.substr(characters[0].size()));
    add(uppercased(w));
    for (std::string& variant : Punctuation::variants(w))
        add(std::move(variant));

    std::string display = composer().display();
    auto words = lexicon_->unigrams(display);
    sheet.choices.push_back({BilingualChoice::Kind::tone1, words.empty() ? display : words.front().value});
    sheet.endsWithSpace = endsWithSpace;
    sheet.underneath = std::move(*underneath);
    state_ = std::move(sheet);
}

bool InputEngine::openPunctuationSheet() {
    const Element* before = composition_.elementBeforeCursor();
    if (!before || before->isReading()) return false;
    std::vector<std::string> variants = Punctuation::variants(before->text);
    if (variants.empty()) return false;
    BilingualSheet sheet;
    for (std::string& variant : variants)
        sheet.choices.push_back({BilingualChoice::Kind::english, std::move(variant)});
    sheet.replacementIndex = composition_.cursor() - 1;
    state_ = std::move(sheet);
    return true;
}

ListStep BilingualSheet::take(const KeyInput& key) {
    const int n = static_cast<int>(choices.size());
    int& h = highlighted;
    switch (key.kind) {
    case KeyInput::Kind::character:
        if (auto digit = decimalDigitValue(key.character); digit && *digit >= 1 && *digit <= n)
            return ListStep::choose(*digit - 1);
        break;
    case KeyInput::Kind::space:
    case KeyInput::Kind::arrowRight:
    case KeyInput::Kind::arrowDown:
        h = (h + 1) % n;
        return ListStep::stay();
    case KeyInput::Kind::arrowLeft:
    case KeyInput::Kind::arrowUp:
        h = (h - 1 + n) % n;
        return ListStep::stay();
    case KeyInput::Kind::enter:
        return ListStep::choose(h);
    case KeyInput::Kind::tab:
        // Tab always takes an English form: the first one when the Chinese reading is highlighted.
        return ListStep::choose(choices[h].kind == BilingualChoice::Kind::english ? h : 0);
    case KeyInput::Kind::escape:
        return ListStep::close(true);
    case KeyInput::Kind::backspace:
        if (endsWithSpace) return ListStep::close(true); // takes back the Space that opened the list
        break;
    default:
        break;
    }
    // A key the list does not use: after the Space that opened it, typing on takes the highlight.
    if (endsWithSpace) return {ListStep::Change::typeOn, h, false};
    return ListStep::close(false);
}

InputEngine::MaybeOutput InputEngine::handleInBilingual(const KeyInput& key) {
    BilingualSheet& sheet = std::get<BilingualSheet>(state_);
    const ListStep step = sheet.take(key);
    switch (step.change) {
    case ListStep::Change::stay:
        break;
    case ListStep::Change::choose:
        selectBilingual(sheet.choices[step.chosen]);
        break;
    case ListStep::Change::close:
        closeBilingualSheet();
        break;
    case ListStep::Change::typeOn:
        typeOnAfterBilingual(step.chosen);
        break;
    }
    return step.keyTaken ? MaybeOutput(handled()) : std::nullopt;
}

// The entry a Space offered is taken with that Space: the first as the lattice read the keys, so
// that later keys may read them again, another as chosen.
void InputEngine::typeOnAfterBilingual(int chosen) {
    const BilingualChoice choice = std::get<BilingualSheet>(state_).choices[chosen];
    if (chosen != 0) {
        selectBilingual(choice);
        if (choice.kind == BilingualChoice::Kind::english) insertLiteral(" ");
        return;
    }
    closeBilingualSheet();
    if (!settleKeyRun(" ", false)) insertComposerAsEnglish(" ");
}

void InputEngine::closeBilingualSheet() {
    // Moved out first: the state it returns to lives in the sheet that the assignment destroys.
    Composing underneath = std::move(std::get<BilingualSheet>(state_).underneath);
    state_ = std::move(underneath);
}

void InputEngine::selectBilingual(BilingualChoice choice) {
    const BilingualSheet& sheet = std::get<BilingualSheet>(state_);
    const std::optional<int> replaced = sheet.replacementIndex;
    // Chinese chosen where English was offered counts against the English reading of those keys.
    if (choice.kind == BilingualChoice::Kind::tone1 && settings_.learning && userPhrases_) {
        std::set<std::string> offered; // the variants of one word (so, So, SO) count once
        for (const BilingualChoice& other : sheet.choices)
            if (other.kind == BilingualChoice::Kind::english) offered.insert(lowercased(other.text));
        for (const std::string& keys : offered)
            userPhrases_->noteEnglishReading(keys, false);
    }
    closeBilingualSheet();
    if (choice.kind == BilingualChoice::Kind::tone1) {
        pressIntoComposer(" "); // as Space on the syllable: its first tone
        return;
    }
    if (replaced) {
        composition_.remove(*replaced);
        redecode();
    }
    if (choice.text == "/" || choice.text == "\\")
        startLiteralRun(); // a path or an address goes on literally
    else
        state_ = Composing{};
    insertLiteral(choice.text);
    composition_.markExplicitCase(composition_.cursor() - 1);
}

std::optional<InputEngine::SheetView> InputEngine::bilingualSheetView(const BilingualSheet& sheet) const {
    SheetView view;
    for (std::size_t i = 0; i < sheet.choices.size(); ++i)
        view.items.push_back(
            SheetView::Item{std::to_string(i + 1), sheet.choices[i].text, static_cast<int>(i)});
    view.highlightedInPage = sheet.highlighted;
    if (sheet.replacementIndex)
        view.anchorUTF16 = utf16LengthOfTextsBefore(*sheet.replacementIndex);
    else
        view.anchorUTF16 = preedit().caretUTF16 - static_cast<int>(utf16Length(presentation().pending));
    return view;
}

} // namespace kelvo
