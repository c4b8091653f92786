#include "Engine/KeyLattice.hpp"

#include "Engine/EnglishRunSupport.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"
#include "Zhuyin/SyllableComposer.hpp"

#include <algorithm>

namespace kelvo {
namespace {

// Keys that may belong to an English word: letters, then digits and dots of a version.
bool mayBeEnglishKey(char key) {
    return isLetterKey(key) || isNumberKey(key);
}

// Digits with a dot ended by a digit continue a version or a number (3.10): no syllable's keys.
bool isDecimalPart(std::string_view keys, std::string_view toneKey) {
    const bool digitsAndDots = std::all_of(keys.begin(), keys.end(), isNumberKey);
    return digitsAndDots && keys.find('.') != std::string_view::npos && isDigitKey(toneKey[0]);
}

// Where the numbers that start at `p` end: after each digit, a decimal point taken at most once.
std::vector<std::size_t> numberEnds(std::string_view keys, std::size_t p) {
    std::vector<std::size_t> ends;
    bool point = false;
    for (std::size_t end = p; end < keys.size(); ++end) {
        if (isDigitKey(keys[end]))
            ends.push_back(end + 1);
        else if (keys[end] == '.' && !point && end > p)
            point = true;
        else
            break;
    }
    return ends;
}

// A node of the lattice: the best path to a key position that ends with a segment of one kind
// (and, after a syllable, with one reading, the context of the next syllable).
struct Node {
    std::optional<KeySegment::Kind> kind; // none at the start of the stretch
    std::string reading;
    double score = 0;
    double syllables = 0;  // the part of `score` that the syllables' readings gave
    int back = -1;         // the node the path came from
    std::size_t start = 0; // where this node's segment starts
};

class Decoder {
public:
    // Keeps the `kept` best paths into each kind of segment and reading at each key position.
    Decoder(const KeyRunScorer& scorer, const KeyLattice::Stretch& stretch, std::size_t kept)
        : scorer_(scorer), stretch_(stretch), keys_(stretch.keys), kept_(kept),
          atPosition_(keys_.size() + 1) {
        nodes_.push_back(Node{});
        atPosition_[0].push_back(0);
    }

    std::vector<KeyPath> run() {
        for (std::size_t p = 0; p < keys_.size(); ++p)
            for (std::size_t i = 0; i < atPosition_[p].size(); ++i)
                extend(atPosition_[p][i], p);
        return bestAtEnd();
    }

private:
    void extend(int from, std::size_t p) {
        const std::optional<KeySegment::Kind> kind = nodes_[from].kind;
        const bool atStart = !kind;
        const bool afterWordOrNumber = endsTypedAsKeys(from);
        if (!afterWordOrNumber) {
            addEnglish(from, p);
            addNumber(from, p);
        }
        if (atStart && stretch_.startsHeld) return;
        if (afterWordOrNumber && keys_[p] == ' ')
            reach(from, p, p + 1, KeySegment::Kind::space, {}, splitSyllableCost(from, p, p));
        else
            addSyllable(from, p);
    }

    // A number, and the same number with a unit after it (35mm, 12kg).
    void addNumber(int from, std::size_t p) {
        for (std::size_t end : numberEnds(keys_, p)) {
            const double score = scorer_.numberScore(keys_.substr(p, end - p), contextOf(from));
            reach(from, p, end, KeySegment::Kind::number, {}, score);
            std::size_t unitEnd = end;
            while (unitEnd < keys_.size() && isLetterKey(keys_[unitEnd])) {
                ++unitEnd;
                if (unitSuffixes().contains(lowercased(keys_.substr(end, unitEnd - end))))
                    reach(from, p, unitEnd, KeySegment::Kind::number, {}, score + KeyRunScorer::unitPenalty);
            }
        }
    }

    void addEnglish(int from, std::size_t p) {
        for (std::size_t end = p + 1; end <= keys_.size() && mayBeEnglishKey(keys_[end - 1]); ++end) {
            const bool alone = end == p + 1 && isLetterKey(keys_[p]);
            if (alone && !letterWouldVanish(p)) continue;
            auto score =
                alone ? scorer_.letterScore(keys_[p]) : scorer_.englishScore(keys_.substr(p, end - p));
            if (score)
                reach(from, p, end, KeySegment::Kind::english, {},
                      *score + (continuesEnglish(from) ? 0 : KeyRunScorer::switchPenalty));
        }
    }

    // A letter alone is English only where Zhuyin cannot keep it: the keys after it, up to a tone
    // key, would replace its slot. Elsewhere it is the first key of the syllable it starts.
    bool letterWouldVanish(std::size_t p) const {
        if (p + 1 == keys_.size() || !isLetterKey(keys_[p + 1])) return true;
        const std::size_t tone = toneKeyFrom(p + 1);
        auto with = SyllableComposer::afterKeys(keys_.substr(p, tone - p));
        auto without = SyllableComposer::afterKeys(keys_.substr(p + 1, tone - p - 1));
        return !with || !without || with->overwriteCount() > without->overwriteCount();
    }

    // Where the first tone key at or after `p` is; the end of the keys when there is none.
    std::size_t toneKeyFrom(std::size_t p) const {
        while (p < keys_.size() && !DachenLayout::isToneKey(keys_.substr(p, 1)))
            ++p;
        return p;
    }

    // English, then the Space after it: a word after them goes on in English, no switch.
    bool continuesEnglish(int node) const {
        return nodes_[node].kind == KeySegment::Kind::space &&
               nodes_[nodes_[node].back].kind == KeySegment::Kind::english;
    }

    // A syllable runs to the next tone key. Right after English its keys must come in the layout's
    // order and spell a known syllable; elsewhere they are read as the composer reads them, a key
    // that replaced a filled slot costing its penalty.
    void addSyllable(int from, std::size_t p) {
        const std::size_t tone = toneKeyFrom(p);
        if (tone == p) return;
        if (tone == keys_.size()) {
            if (stretch_.openEnd) addUnfinishedSyllable(from, p);
            return;
        }
        const std::string_view letters = keys_.substr(p, tone - p), toneKey = keys_.substr(tone, 1);
        if (endsTypedAsKeys(from)) {
            if (isDecimalPart(letters, toneKey)) return;
            auto syllable = syllableInKeyOrder(letters, toneKey);
            if (!syllable) return;
            std::string reading = syllable->canonical();
            const double language = scoreAfter(from, reading);
            const double score = language + splitSyllableCost(from, p, tone);
            if (score > KeyRunScorer::unknownReadingScore)
                reach(from, p, tone + 1, KeySegment::Kind::syllable, std::move(reading), score, language);
            return;
        }
        auto walk = SyllableComposer::afterKeys(letters);
        if (!walk) return;
        const int overwrites = walk->overwriteCount();
        auto result = walk->press(toneKey);
        if (result.kind != SyllableComposer::PressResult::Kind::composed) {
            reach(from, p, tone + 1, KeySegment::Kind::syllable, {}, KeyRunScorer::unknownReadingScore,
                  KeyRunScorer::unknownReadingScore);
            return;
        }
        std::string reading = result.syllable.canonical();
        const double language = scoreAfter(from, reading);
        double score = language + KeyRunScorer::overwriteCost(overwrites);
        if (overwrites == 0 && !syllableInKeyOrder(letters, toneKey))
            score += KeyRunScorer::outOfOrderPenalty;
        reach(from, p, tone + 1, KeySegment::Kind::syllable, std::move(reading), score, language);
    }

    // The last keys without a tone yet: as likely as the likeliest syllable a tone key would make.
    void addUnfinishedSyllable(int from, std::size_t p) {
        const std::string_view letters = keys_.substr(p);
        const bool afterTypedKeys = endsTypedAsKeys(from);
        const auto walk = SyllableComposer::afterKeys(letters);
        if (!walk || (afterTypedKeys && walk->overwriteCount() > 0)) return;
        std::optional<std::pair<std::string, double>> best;
        for (std::size_t t = 0; t < DachenLayout::toneKeys.size(); ++t) {
            const std::string_view toneKey = DachenLayout::toneKeys.substr(t, 1);
            if (afterTypedKeys && !syllableInKeyOrder(letters, toneKey)) continue;
            SyllableComposer toned = *walk;
            auto result = toned.press(toneKey);
            if (result.kind != SyllableComposer::PressResult::Kind::composed) continue;
            std::string reading = result.syllable.canonical();
            double score = scoreAfter(from, reading);
            if (!best || score > best->second) best = {std::move(reading), score};
        }
        if (!best) best = {std::string(), KeyRunScorer::unknownReadingScore};
        const double language = best->second;
        best->second += KeyRunScorer::overwriteCost(walk->overwriteCount());
        reach(from, p, keys_.size(), KeySegment::Kind::syllable, std::move(best->first), best->second,
              language);
    }

    // Keys from `p` to the tone key at `tone` right after a number of one digit that, as the initial
    // or final it also is, would make them a known syllable typed in order (5 then ㄨㄟˋ, 5 then
    // Space): the digit more often belonged to that syllable.
    double splitSyllableCost(int from, std::size_t p, std::size_t tone) const {
        if (nodes_[from].kind != KeySegment::Kind::number || nodes_[from].start + 1 != p) return 0;
        auto whole = syllableInKeyOrder(keys_.substr(p - 1, tone - p + 1), keys_.substr(tone, 1));
        if (!whole ||
            scorer_.syllableScore(whole->canonical(), std::nullopt) <= KeyRunScorer::unknownReadingScore)
            return 0;
        return KeyRunScorer::splitSyllablePenalty;
    }

    // A syllable's score after what the path to `from` ends with: a number or a syllable is context,
    // English none.
    double scoreAfter(int from, const std::string& reading) const {
        if (nodes_[from].kind == KeySegment::Kind::number) return scorer_.syllableAfterNumberScore(reading);
        return scorer_.syllableScore(reading, contextOf(from));
    }

    bool endsTypedAsKeys(int node) const { return nodes_[node].kind && isTypedAsKeys(*nodes_[node].kind); }

    std::optional<std::string> contextOf(int node) const {
        if (!nodes_[node].kind) return stretch_.previousReading;
        if (nodes_[node].kind == KeySegment::Kind::syllable && !nodes_[node].reading.empty())
            return nodes_[node].reading;
        return std::nullopt;
    }

    // Keeps the best of the paths that reach `end` with the same kind of segment and reading.
    // `language` is the part of `score` that the syllable's reading gave.
    void reach(int from, std::size_t start, std::size_t end, KeySegment::Kind kind, std::string reading,
               double score, double language = 0) {
        Node reached{
            kind, std::move(reading), nodes_[from].score + score, nodes_[from].syllables + language, from,
            start};
        std::size_t alike = 0;
        int worst = -1;
        for (int index : atPosition_[end]) {
            const Node& node = nodes_[index];
            if (node.kind != reached.kind || node.reading != reached.reading) continue;
            ++alike;
            if (worst < 0 || node.score < nodes_[worst].score) worst = index;
        }
        if (alike < kept_) {
            atPosition_[end].push_back(static_cast<int>(nodes_.size()));
            nodes_.push_back(std::move(reached));
        } else if (reached.score > nodes_[worst].score) {
            nodes_[worst] = std::move(reached);
        }
    }

    // The paths that span the stretch, best first.
    std::vector<KeyPath> bestAtEnd() const {
        std::vector<int> ends;
        for (int index : atPosition_[keys_.size()]) {
            const Node& node = nodes_[index];
            if (node.kind && (!stretch_.endsWithSyllable || node.kind == KeySegment::Kind::syllable))
                ends.push_back(index);
        }
        std::stable_sort(ends.begin(), ends.end(),
                         [&](int a, int b) { return nodes_[a].score > nodes_[b].score; });
        ends.resize(std::min(ends.size(), kept_));
        std::vector<KeyPath> paths;
        for (int last : ends) {
            KeyPath path{{}, nodes_[last].score, nodes_[last].syllables};
            std::size_t end = keys_.size();
            for (int index = last; nodes_[index].kind; index = nodes_[index].back) {
                const Node& node = nodes_[index];
                path.segments.push_back(KeySegment{*node.kind, node.start, end, node.reading});
                end = node.start;
            }
            std::reverse(path.segments.begin(), path.segments.end());
            paths.push_back(std::move(path));
        }
        return paths;
    }

    const KeyRunScorer& scorer_;
    const KeyLattice::Stretch& stretch_;
    std::string_view keys_;
    std::size_t kept_;
    std::vector<Node> nodes_;
    std::vector<std::vector<int>> atPosition_; // the nodes that end at each key position
};

} // namespace

bool isLatticeKey(std::string_view key) {
    return key.size() == 1 && (DachenLayout::component(key) || isNumberKey(key[0]));
}

std::optional<KeyPath> KeyLattice::best(const Stretch& stretch) const {
    auto paths = likeliest(stretch, 1);
    if (paths.empty()) return std::nullopt;
    return std::move(paths.front());
}

std::vector<KeyPath> KeyLattice::likeliest(const Stretch& stretch, std::size_t count) const {
    if (stretch.keys.empty() || count == 0) return {};
    return Decoder(scorer_, stretch, count).run();
}

} // namespace kelvo
