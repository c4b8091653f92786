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

InputEngine::MaybeOutput InputEngine::handleBufferedEnglish(const KeyInput& key) {
    if (!state_.automaticEnglishBuffer) return std::nullopt;
    const std::string held = *state_.automaticEnglishBuffer;
    const int boundary = state_.automaticEnglishBoundary;
    auto commitRun = [&](std::string_view followedBy) {
        state_.automaticEnglishBuffer.reset();
        insertLiteralCharacters(formattedEnglish(held, boundary) + std::string(followedBy));
    };
    switch (key.kind) {
    case KeyInput::Kind::repeatedCharacter:
        *state_.automaticEnglishBuffer += key.character;
        return handled();
    case KeyInput::Kind::character:
    case KeyInput::Kind::englishLiteral:
        if (acceptChineseSuffix(held, boundary, key.character)) return handled();
        if (!continuesHeldEnglish(key.character)) {
            commitRun(key.character);
            return handled();
        }
        *state_.automaticEnglishBuffer += key.character;
        state_.automaticEnglishBoundary = updatedEnglishBoundary(*state_.automaticEnglishBuffer, boundary);
        return handled();
    case KeyInput::Kind::space:
        if (acceptChineseSuffix(held, boundary, " ")) return handled();
        commitRun(" ");
        return handled();
    case KeyInput::Kind::enter: {
        auto text = flush();
        return Output{text.has_value(), text};
    }
    case KeyInput::Kind::escape:
        state_.automaticEnglishBuffer.reset();
        state_.automaticEnglishBoundary = 0;
        return handled();
    case KeyInput::Kind::backspace: {
        auto characters = characterViews(held);
        characters.pop_back();
        if (characters.empty())
            state_.automaticEnglishBuffer.reset();
        else
            state_.automaticEnglishBuffer = joinedCharacters(characters, 0, characters.size());
        state_.automaticEnglishBoundary = std::min(boundary, static_cast<int>(characters.size()));
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

int InputEngine::updatedEnglishBoundary(std::string_view buffer, int boundary) const {
    const auto characters = characterViews(buffer);
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
