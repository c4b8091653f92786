#include "Detectors/DachenKeyModel.hpp"

#include "Zhuyin/DachenLayout.hpp"

#include <cmath>
#include <mutex>

namespace kelvo {
namespace {

// The layout's keys, then the edge before a syllable's first key.
constexpr std::string_view layoutKeys = "1qaz2wsx3edc4rfv5tgb6yhn7ujm8ik,9ol.0p;/- ";
constexpr int edge = static_cast<int>(layoutKeys.size());
constexpr int symbols = edge + 1;

int trigram(int a, int b, int c) {
    return (a * symbols + b) * symbols + c;
}

// Every syllable the components can spell, with each tone.
template <typename Visit> void forEachSyllable(Visit visit) {
    using S = Syllable;
    std::vector<std::optional<S::Initial>> initials{std::nullopt};
    for (int i = 0; i <= static_cast<int>(S::Initial::s); ++i)
        initials.push_back(static_cast<S::Initial>(i));
    std::vector<std::optional<S::Medial>> medials{std::nullopt};
    for (int i = 0; i <= static_cast<int>(S::Medial::yu); ++i)
        medials.push_back(static_cast<S::Medial>(i));
    std::vector<std::optional<S::Final>> finals{std::nullopt};
    for (int i = 0; i <= static_cast<int>(S::Final::er); ++i)
        finals.push_back(static_cast<S::Final>(i));
    for (auto initial : initials)
        for (auto medial : medials)
            for (auto final : finals)
                for (int tone = 1; tone <= 5; ++tone)
                    if (initial || medial || final)
                        visit(S{initial, medial, final, static_cast<S::Tone>(tone)});
}

} // namespace

int DachenKeyModel::symbolOf(char key) {
    auto at = layoutKeys.find(key);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

DachenKeyModel::DachenKeyModel(const Lexicon& lexicon) : trigramLog10_(symbols * symbols * symbols) {
    std::vector<double> counts(trigramLog10_.size(), 0), contexts(symbols * symbols, 0);
    forEachSyllable([&](const Syllable& syllable) {
        const std::string reading = syllable.canonical();
        auto words = lexicon.unigrams(reading);
        if (words.empty()) return;
        auto keys = DachenLayout::keys(reading);
        if (!keys) return;
        double weight = 0; // how often the syllable is read as a word of its own, per million words
        for (const Unigram& word : words)
            weight += std::pow(10.0, word.score + 6);
        int a = edge, b = edge;
        for (char key : *keys) {
            int c = symbolOf(key);
            counts[trigram(a, b, c)] += weight;
            contexts[a * symbols + b] += weight;
            a = b;
            b = c;
        }
    });
    constexpr double smoothing = 0.01; // so that keys Chinese never types in a row stay possible
    for (int context = 0; context < symbols * symbols; ++context)
        for (int c = 0; c < symbols; ++c)
            trigramLog10_[context * symbols + c] = static_cast<float>(std::log10(
                (counts[context * symbols + c] + smoothing) / (contexts[context] + smoothing * symbols)));
}

std::shared_ptr<const DachenKeyModel> DachenKeyModel::of(const std::shared_ptr<const Lexicon>& lexicon) {
    static std::mutex mutex;
    static std::weak_ptr<const Lexicon> lastLexicon;
    static std::shared_ptr<const DachenKeyModel> lastModel;
    std::lock_guard lock(mutex);
    if (lastLexicon.lock() != lexicon || !lastModel) {
        lastModel = std::make_shared<const DachenKeyModel>(*lexicon);
        lastLexicon = lexicon;
    }
    return lastModel;
}

double DachenKeyModel::log10Of(int a, int b, int c) const {
    return trigramLog10_[trigram(a, b, c)];
}

std::optional<double> DachenKeyModel::score(std::string_view keys) const {
    if (keys.empty()) return std::nullopt;
    double score = 0;
    int a = edge, b = edge;
    for (char key : keys) {
        int c = symbolOf(key);
        if (c < 0) return std::nullopt;
        score += log10Of(a, b, c);
        a = b;
        b = c;
        if (DachenLayout::isToneKey(std::string_view(&key, 1))) a = b = edge; // the next syllable starts
    }
    if (a == edge && b == edge) return score;
    double ended = 0;
    for (char tone : DachenLayout::toneKeys)
        ended += std::pow(10.0, log10Of(a, b, symbolOf(tone)));
    return score + std::log10(ended);
}

} // namespace kelvo
