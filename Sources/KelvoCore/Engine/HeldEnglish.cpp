// English held back while digits or separators follow it (a version, a unit, a domain), until a key
// decides what the held keys become.
#include "Engine/EnglishRunSupport.hpp"
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"

#include <algorithm>
#include <array>

namespace kelvo {
namespace {

constexpr std::array<std::string_view, 5> webSuffixes = {"com", "net", "org", "edu", "io"};

bool continuesHeldEnglish(std::string_view c) {
    return isASCII(c) &&
           (isLetter(c) || isNumber(c) || c == "." || c == "," || c == "-" || c == ";" || c == "/");
}

} // namespace

void InputEngine::holdEnglish(std::string keys, int boundary) {
    state_ = HeldEnglish{std::move(keys), boundary};
}

InputEngine::MaybeOutput InputEngine::handleInHeldEnglish(const KeyInput& key) {
    const HeldEnglish held = std::get<HeldEnglish>(state_);
    auto commitRun = [&](std::string_view followedBy) {
        state_ = Composing{};
        insertLiteralCharacters(formattedEnglish(held.keys, held.boundary) + std::string(followedBy));
    };
    // The English vocabulary decides where a syllable after the word starts, if one does; without it
    // the syllable starts at the boundary or after the digits that follow it.
    auto acceptsSyllable = [&](const std::string& toneKey) {
        return keyRunScorer() ? acceptSyllableAfterHeldEnglish(held.keys, toneKey)
                              : acceptChineseSuffix(held.keys, held.boundary, toneKey);
    };
    switch (key.kind) {
    case KeyInput::Kind::repeatedCharacter:
        holdEnglish(held.keys + key.character, held.boundary);
        return handled();
    case KeyInput::Kind::character:
    case KeyInput::Kind::englishLiteral: {
        if (acceptsSyllable(key.character)) return handled();
        if (!continuesHeldEnglish(key.character)) {
            commitRun(key.character);
            return handled();
        }
        std::string keys = held.keys + key.character;
        int boundary = updatedEnglishBoundary(keys, held.boundary);
        holdEnglish(std::move(keys), boundary);
        return handled();
    }
    case KeyInput::Kind::space:
        if (acceptsSyllable(" ")) return handled(); // Space is the first tone
        commitRun(" ");
        return handled();
    case KeyInput::Kind::enter:
        return handleEnter(); // the held text is part of the committed text
    case KeyInput::Kind::escape:
        state_ = Composing{}; // the held keys are discarded
        return handled();
    case KeyInput::Kind::backspace: {
        auto characters = characterViews(held.keys);
        characters.pop_back();
        if (characters.empty())
            state_ = Composing{};
        else
            holdEnglish(joinedCharacters(characters, 0, characters.size()),
                        std::min(held.boundary, static_cast<int>(characters.size())));
        return handled();
    }
    case KeyInput::Kind::tab:
    case KeyInput::Kind::arrowLeft:
    case KeyInput::Kind::arrowRight:
    case KeyInput::Kind::arrowDown:
        commitRun("");
        return std::nullopt; // the key then acts on the composition
    default:                 // arrowUp, pageUp, pageDown
        return handled();
    }
}

int InputEngine::updatedEnglishBoundary(std::string_view keys, int boundary) const {
    const auto characters = characterViews(keys);
    auto lastNonLetter =
        std::find_if(characters.rbegin(), characters.rend(), [](std::string_view c) { return !isLetter(c); });
    if (lastNonLetter == characters.rend()) return boundary;
    const int j = static_cast<int>(characters.rend() - lastNonLetter) - 1;
    const std::string_view separator = characters[j];
    const std::string tail = joinedCharacters(characters, static_cast<std::size_t>(j) + 1, characters.size());
    std::optional<int> length;
    if (separator == ".") {
        auto suffix = std::find_if(webSuffixes.begin(), webSuffixes.end(),
                                   [&](std::string_view s) { return tail.starts_with(s); });
        if (suffix != webSuffixes.end()) length = static_cast<int>(suffix->size());
    } else if (isNumber(separator)) {
        // The longest unit of two or more letters that the letters after the number start with.
        for (std::string_view unit : unitSuffixes())
            if (unit.size() >= 2 && tail.starts_with(unit))
                length = std::max(length.value_or(0), static_cast<int>(unit.size()));
    }
    if (!length) length = englishPrefixLength(tail);
    if (!length) return boundary;
    return j + 1 + *length;
}

} // namespace kelvo
