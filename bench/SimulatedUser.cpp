#include "SimulatedUser.hpp"

#include "Engine/KeyScript.hpp"
#include "Text/Characters.hpp"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace kelvo::bench {
namespace {

using Kind = KeyInput::Kind;

// The marked text's characters as they are compared, each with where it starts in UTF-16 units.
struct ShownText {
    std::vector<std::string> characters;
    std::vector<int> startsUTF16;

    explicit ShownText(const std::string& text) {
        int offset = 0;
        for (std::string_view character : characterViews(text)) {
            if (!isWhitespace(character)) {
                characters.push_back(lowercased(character));
                startsUTF16.push_back(offset);
            }
            offset += static_cast<int>(utf16Length(character));
        }
    }
    // The index of the first character at or after a UTF-16 offset.
    int characterAt(int offsetUTF16) const {
        return static_cast<int>(std::lower_bound(startsUTF16.begin(), startsUTF16.end(), offsetUTF16) -
                                startsUTF16.begin());
    }
};

int firstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    return static_cast<int>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
}

int editDistance(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::vector<int> previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j)
            current[j] =
                std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// The caret positions the arrow keys reach from where the caret is, with the keys that reach each.
std::vector<std::vector<KeyInput>> caretMoves(const InputEngine& engine) {
    std::vector<std::vector<KeyInput>> moves{{}};
    for (Kind arrow : {Kind::arrowLeft, Kind::arrowRight}) {
        InputEngine probe = engine;
        std::vector<KeyInput> keys;
        for (;;) {
            const int before = probe.preedit().caretUTF16;
            if (!probe.handle(KeyInput::of(arrow)).handled || probe.preedit().caretUTF16 == before) break;
            keys.push_back(KeyInput::of(arrow));
            moves.push_back(keys);
        }
    }
    return moves;
}

} // namespace

std::vector<std::string> comparableCharacters(const std::string& text) {
    return ShownText(text).characters;
}

void PassFigures::add(const ClauseResult& result, const std::string& reference) {
    const auto wanted = comparableCharacters(reference);
    ++clauses;
    rightAsTyped += result.rightAsTyped;
    failedClauses += result.failed;
    corrections += result.corrections;
    keys += result.keys;
    floorKeys += result.floorKeys;
    characters += static_cast<long>(wanted.size());
    editDistance += kelvo::bench::editDistance(comparableCharacters(result.committed), wanted);
}

double PassFigures::correctionsPer100Characters() const {
    return characters ? 100.0 * static_cast<double>(corrections) / static_cast<double>(characters) : 0;
}
double PassFigures::keysPerCharacter() const {
    return characters ? static_cast<double>(keys) / static_cast<double>(characters) : 0;
}
double PassFigures::floorKeysPerCharacter() const {
    return characters ? static_cast<double>(floorKeys) / static_cast<double>(characters) : 0;
}
double PassFigures::committedCharacterAccuracy() const {
    return characters ? 1.0 - static_cast<double>(editDistance) / static_cast<double>(characters) : 0;
}

std::optional<SimulatedUser::Correction>
SimulatedUser::correction(const std::vector<std::string>& reference,
                          const std::vector<std::pair<int, int>>& chosen) const {
    const ShownText shown(engine_.preedit().text());
    // Where the text as committed goes wrong; the marked text's own characters where formatting
    // changed more than spaces and the two no longer line up.
    const auto committed = comparableCharacters(committedNow());
    const int wrong = firstDifference(
        committed.size() == shown.characters.size() ? committed : shown.characters, reference);
    // Ranked by how far the correction fixes the text, then by its keys; one that overlaps a
    // stretch chosen before ranks below every other.
    std::optional<std::tuple<bool, int, int>> bestRank;
    std::optional<Correction> best;
    for (const auto& moves : caretMoves(engine_)) {
        InputEngine probe = engine_;
        for (const KeyInput& key : moves)
            probe.handle(key);
        probe.handle(KeyInput::of(Kind::arrowDown));
        probe.setCandidatesExpanded(true); // every candidate at once, as the grid shows them
        const auto view = probe.sheetView();
        if (!view || view->columns < 1) continue;
        const int pageSize = view->columns;
        const int highlighted =
            view->expanded ? view->highlightedInPage : view->pageIndex * pageSize + view->highlightedInPage;
        for (const auto& item : view->items) {
            if (item.lengthUTF16 <= 0) continue; // not a word candidate
            const auto value = comparableCharacters(item.value);
            const int start = shown.characterAt(item.startUTF16);
            const int end = start + static_cast<int>(value.size());
            if (value.empty() || start > wrong || end <= wrong || end > static_cast<int>(reference.size()) ||
                !std::equal(value.begin(), value.end(), reference.begin() + start))
                continue;
            const int pages = item.index / pageSize - highlighted / pageSize;
            const int digit = item.index % pageSize + 1;
            if (digit > 9) continue; // beyond the digits that select
            const int keys = static_cast<int>(moves.size()) + 1 + std::abs(pages) + 1;
            const bool overlaps = std::any_of(chosen.begin(), chosen.end(), [&](const auto& range) {
                return start < range.second && range.first < end;
            });
            const std::tuple<bool, int, int> rank{!overlaps, end, -keys};
            if (bestRank && rank <= *bestRank) continue;
            bestRank = rank;
            Correction found{moves, start, end};
            found.keys.push_back(KeyInput::of(Kind::arrowDown));
            for (int page = 0; page < std::abs(pages); ++page)
                found.keys.push_back(KeyInput::of(pages > 0 ? Kind::pageDown : Kind::pageUp));
            found.keys.push_back(KeyInput::typed(std::to_string(digit)));
            best = std::move(found);
        }
    }
    return best;
}

std::string SimulatedUser::committedNow() const {
    return engine_.textToCommit().value_or("");
}

ClauseResult SimulatedUser::type(const Clause& clause) {
    ClauseResult result;
    for (char key : clause.keys)
        engine_.handle(keyForCharacter(key));
    result.keys = result.floorKeys = static_cast<int>(clause.keys.size()) + 1;
    const auto reference = comparableCharacters(clause.text);
    result.typed = committedNow();
    std::vector<std::pair<int, int>> chosen;
    for (std::size_t attempt = 0; attempt < 2 * reference.size(); ++attempt) {
        if (comparableCharacters(attempt == 0 ? result.typed : committedNow()) == reference) {
            result.rightAsTyped = attempt == 0;
            break;
        }
        auto fix = correction(reference, chosen);
        if (!fix) {
            result.failed = true;
            break;
        }
        for (const KeyInput& key : fix->keys)
            engine_.handle(key);
        result.keys += static_cast<int>(fix->keys.size());
        ++result.corrections;
        chosen.emplace_back(fix->start, fix->end);
    }
    result.committed = engine_.handle(KeyInput::of(Kind::enter)).commitText.value_or("");
    if (!engine_.isIdle()) result.committed += engine_.flush().value_or(""); // the next clause starts afresh
    return result;
}

} // namespace kelvo::bench
