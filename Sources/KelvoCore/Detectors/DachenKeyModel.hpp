#pragma once

#include "Dictionary/Lexicon.hpp"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace kelvo {

// How likely a string of keys is as Chinese typed on the Dachen layout: a trigram model of the keys
// of every syllable the dictionary reads, each weighted by how often the dictionary reads it. Set
// against the English letter model, it tells a spelling that only English makes (autoremover) from
// the keys of syllables (sj/4). Immutable once built.
class DachenKeyModel {
public:
    explicit DachenKeyModel(const Lexicon& lexicon);
    // One model per dictionary, shared by every engine that reads with it.
    static std::shared_ptr<const DachenKeyModel> of(const std::shared_ptr<const Lexicon>& lexicon);

    // The log10 probability that Chinese typing, at the start of a syllable, goes on with these keys
    // and then ends the syllable with a tone key; absent for a key the layout does not have.
    std::optional<double> score(std::string_view keys) const;

private:
    static int symbolOf(char key);
    double log10Of(int a, int b, int c) const;

    std::vector<float> trigramLog10_;
};

} // namespace kelvo
