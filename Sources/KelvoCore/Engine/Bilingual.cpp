// The English hint and the bilingual list: the keys offered as an English word next to their
// Chinese reading, and the same list for the width variants of a punctuation mark.
#include "Engine/InputEngine.hpp"
#include "Formatting/Punctuation.hpp"
#include "Text/Characters.hpp"

#include <algorithm>

namespace kelvo {

std::optional<std::string> InputEngine::englishHint() const {
    if (!englishHintEnabled) return std::nullopt;
    const std::string& raw = state_.composer.rawKeys();
    auto characters = characterViews(raw);
    if (characters.size() < 2) return std::nullopt;
    bool lettersAndNumbers = std::all_of(characters.begin(), characters.end(),
                                         [](std::string_view c) { return isLetter(c) || isNumber(c); });
    bool someLetter = std::any_of(characters.begin(), characters.end(), isLetter);
    if (!lettersAndNumbers || !someLetter) return std::nullopt;
    if ((englishDetector && englishDetector->isWord(raw)) || state_.composer.overwriteCount() > 0) return raw;
    return std::nullopt;
}

std::optional<std::string> InputEngine::englishCandidateKeys() const {
    if (auto hint = englishHint()) return hint;
    const std::string& raw = state_.composer.rawKeys();
    if (characterCount(raw) == 1 && isASCII(raw) && (isLetter(raw) || isPunctuation(raw) || isSymbol(raw)))
        return raw;
    return std::nullopt;
}

std::optional<InputEngine::SheetView> InputEngine::englishHintView() const {
    const std::string& raw = state_.composer.rawKeys();
    if (state_.customTextBuffer || state_.automaticEnglishBuffer || englishPrefixLength(raw) ||
        isUnlistedEnglish() || automaticNumberReady() || state_.sheet || state_.bilingual)
        return std::nullopt;
    std::optional<std::string> hint;
    bool fromNumber = false;
    if (characterCount(state_.numericRaw) >= 2) {
        hint = numberHint();
        fromNumber = hint.has_value();
    }
    if (!hint) hint = englishHint();
    if (!hint) return std::nullopt;

    SheetView view;
    view.items.push_back(SheetView::Item{"⇥", formatting.preferredVariant(*hint), -1});
    view.highlightedInPage = -1;
    int anchor = preedit().caretUTF16 - static_cast<int>(utf16Length(state_.composer.display()));
    if (fromNumber) {
        std::vector<std::string> texts = elementTexts();
        for (int i = std::max(state_.cursor - state_.numericElements, 0); i < state_.cursor; ++i)
            anchor -= static_cast<int>(utf16Length(texts[i]));
    }
    view.anchorUTF16 = std::max(anchor, 0);
    return view;
}

void InputEngine::openBilingualSheet(const std::optional<std::string>& raw) {
    std::optional<std::string> word = raw ? raw : englishHint();
    if (!word) return;
    const std::string& w = *word;
    BilingualSheet sheet;
    auto add = [&](std::string text) {
        bool known = std::any_of(sheet.choices.begin(), sheet.choices.end(),
                                 [&](const BilingualChoice& choice) { return choice.text == text; });
        if (!known) sheet.choices.push_back({BilingualChoice::Kind::english, std::move(text)});
    };
    add(formatting.preferredVariant(w));
    add(w);
    auto characters = characterViews(w);
    if (!characters.empty()) add(uppercased(characters[0]) + w.substr(characters[0].size()));
    add(uppercased(w));
    for (std::string& variant : Punctuation::variants(w))
        add(std::move(variant));

    std::string display = state_.composer.display();
    auto words = lexicon_->unigrams(display);
    sheet.choices.push_back({BilingualChoice::Kind::tone1, words.empty() ? display : words.front().value});
    state_.bilingual = std::move(sheet);
}

InputEngine::MaybeOutput InputEngine::handleInBilingual(const KeyInput& key) {
    BilingualSheet& sheet = *state_.bilingual;
    const int n = static_cast<int>(sheet.choices.size());
    int& h = sheet.highlighted;
    switch (key.kind) {
    case KeyInput::Kind::character:
        if (auto digit = decimalDigitValue(key.character); digit && *digit >= 1 && *digit <= n) {
            selectBilingual(sheet.choices[*digit - 1]);
            return handled();
        }
        break;
    case KeyInput::Kind::space:
    case KeyInput::Kind::arrowRight:
    case KeyInput::Kind::arrowDown:
        h = (h + 1) % n;
        return handled();
    case KeyInput::Kind::arrowLeft:
    case KeyInput::Kind::arrowUp:
        h = (h - 1 + n) % n;
        return handled();
    case KeyInput::Kind::enter:
        selectBilingual(sheet.choices[h]);
        return handled();
    case KeyInput::Kind::tab: {
        // Tab always takes an English form: the first one when the Chinese reading is highlighted.
        const BilingualChoice& highlighted = sheet.choices[h];
        selectBilingual(highlighted.kind == BilingualChoice::Kind::english ? highlighted : sheet.choices[0]);
        return handled();
    }
    case KeyInput::Kind::escape:
        state_.bilingual.reset();
        return handled();
    default:
        break;
    }
    state_.bilingual.reset();
    return std::nullopt;
}

void InputEngine::selectBilingual(BilingualChoice choice) {
    std::optional<int> replaced = state_.bilingual ? state_.bilingual->replacementIndex : std::nullopt;
    state_.bilingual.reset();
    if (choice.kind == BilingualChoice::Kind::tone1) {
        handleCharacter(" ");
        return;
    }
    clearComposer();
    cancelNumericRun();
    if (replaced) removeElement(*replaced);
    insertLiteral(choice.text);
    state_.explicitEnglishCase.insert(state_.cursor - 1);
    if (choice.text == "/" || choice.text == "\\") state_.isInLiteralRun = true;
}

std::optional<InputEngine::SheetView> InputEngine::bilingualSheetView() const {
    const BilingualSheet& sheet = *state_.bilingual;
    SheetView view;
    for (std::size_t i = 0; i < sheet.choices.size(); ++i)
        view.items.push_back(
            SheetView::Item{std::to_string(i + 1), sheet.choices[i].text, static_cast<int>(i)});
    view.highlightedInPage = sheet.highlighted;
    if (sheet.replacementIndex)
        view.anchorUTF16 = utf16LengthOfTextsBefore(*sheet.replacementIndex);
    else
        view.anchorUTF16 = preedit().caretUTF16 - static_cast<int>(utf16Length(pendingText()));
    return view;
}

} // namespace kelvo
