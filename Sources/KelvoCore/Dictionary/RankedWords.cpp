#include "Dictionary/RankedWords.hpp"

#include <algorithm>
#include <unordered_map>

namespace kelvo {

void collectRankedWords(const Lexicon& lexicon, const LearnedModel* learned, std::string_view reading,
                        ExtraWords& extras, std::vector<ScoredWord>& ranked, double bonusShare) {
    ranked.clear();
    std::span<const Unigram> listed = lexicon.unigrams(reading);
    std::vector<Unigram> extra = learned ? learned->extraWords(reading) : std::vector<Unigram>{};
    const bool merged = !extra.empty();
    if (!merged) {
        for (const Unigram& word : listed)
            ranked.push_back({word.value, word.score});
    } else {
        // Each distinct value once, with its highest score; the earlier entry wins a tie.
        const std::vector<Unigram>& kept = extras.emplace_back(std::move(extra));
        std::unordered_map<std::string_view, std::size_t> position;
        auto merge = [&](const Unigram& word) {
            auto [found, added] = position.try_emplace(word.value, ranked.size());
            if (added)
                ranked.push_back({word.value, word.score});
            else if (word.score > ranked[found->second].total)
                ranked[found->second].total = word.score;
        };
        std::for_each(listed.begin(), listed.end(), merge);
        std::for_each(kept.begin(), kept.end(), merge);
    }
    if (learned)
        for (ScoredWord& word : ranked) {
            const double bonus = learned->bonus(reading, word.value);
            word.total += bonusShare * bonus;
            word.chosen = bonus > 0.0;
        }
    // The lexicon's own list is already in this order; only bonuses and merged words can change it.
    if (learned || merged)
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const ScoredWord& a, const ScoredWord& b) { return a.total > b.total; });
}

} // namespace kelvo
