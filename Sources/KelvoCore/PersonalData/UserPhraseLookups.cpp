// What the decoder and the key reading ask of the learned data: the bonus of a chosen word, the
// user's own words, the transitions after a word and how the user took keys that spell English.
#include "PersonalData/UserPhraseStore.hpp"

#include <algorithm>
#include <cmath>

namespace kelvo {
namespace {

const std::int64_t* countOf(const UserPhraseStore::Table& table, std::string_view key,
                            std::string_view value) {
    auto row = table.find(key);
    if (row == table.end()) return nullptr;
    auto found = row->second.find(value);
    return found == row->second.end() ? nullptr : &found->second.count;
}

} // namespace

LearnedModel::Transition UserPhraseStore::TransitionRow::pair(std::string_view value) const {
    if (!row_) return {};
    auto found = row_->find(value);
    if (found == row_->end() || found->second.count < 1) return {};
    const double count = static_cast<double>(found->second.count);
    return {std::log(count + 1.0), count / total_};
}

bool UserPhraseStore::knowsEnglishWord(std::string_view keys) const {
    const std::int64_t* count = countOf(data_.englishReadings, keys, "english");
    return count && *count > 0;
}

double UserPhraseStore::englishAdjustment(std::string_view keys) const {
    // In the scorer's log10 units: each tenfold more commits moves the reading by three.
    auto weight = [&](std::string_view side) {
        const std::int64_t* count = countOf(data_.englishReadings, keys, side);
        return count ? std::log10(static_cast<double>(*count) + 1.0) : 0.0;
    };
    return 3.0 * (weight("english") - weight("chinese"));
}

double UserPhraseStore::bonus(std::string_view reading, std::string_view value) const {
    const std::int64_t* count = countOf(data_.selections, reading, value);
    return count && *count >= 1 ? choiceBonus(*count) : 0.0;
}

std::vector<Unigram> UserPhraseStore::userWords(std::string_view reading) const {
    std::vector<Unigram> result;
    auto row = data_.words.find(reading);
    if (row == data_.words.end()) return result;
    for (const auto& [word, count] : row->second)
        result.push_back(Unigram{word, userWordScore});
    return result;
}

std::optional<double> UserPhraseStore::wordsBeginningWith(std::string_view syllable) const {
    if (firstSyllablesVersion_ != wordsVersion_) {
        firstSyllables_.clear();
        for (const auto& [reading, row] : data_.words) {
            const std::size_t dash = reading.find('-');
            const std::string_view first = std::string_view(reading).substr(0, dash);
            if (!row.empty() && dash != std::string::npos && !firstSyllables_.contains(first))
                firstSyllables_.emplace(first);
        }
        firstSyllablesVersion_ = wordsVersion_;
    }
    return firstSyllables_.contains(syllable) ? std::optional(userWordScore) : std::nullopt;
}

UserPhraseStore::TransitionRow UserPhraseStore::transitionsFrom(std::string_view from) const {
    auto row = data_.transitions.find(from);
    if (row == data_.transitions.end()) return TransitionRow();
    return TransitionRow(&row->second, rowTotal(row->second));
}

// Summed once per row while the tables stay as they are: the decoder asks for rows on every key,
// and a frequent word's row holds thousands of words.
double UserPhraseStore::rowTotal(const Row& row) const {
    if (rowTotalsVersion_ != version_) {
        rowTotals_.clear();
        rowTotalsVersion_ = version_;
    }
    auto [found, added] = rowTotals_.try_emplace(&row, 0.0);
    if (added)
        for (const auto& [value, entry] : row)
            found->second += static_cast<double>(std::max<std::int64_t>(entry.count, 0));
    return found->second;
}

LearnedModel::TransitionScorer UserPhraseStore::transitionsAfter(std::string_view previous) const {
    TransitionRow row = transitionsFrom(previous);
    if (!row) return {};
    // The row points into the tables: a decoder uses it only while the version stays the same.
    return [row](std::string_view value) { return row.pair(value); };
}

double UserPhraseStore::transitionBonus(std::string_view from, std::string_view to) const {
    return transitionsFrom(from).bonus(to);
}

} // namespace kelvo
