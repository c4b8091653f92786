#include "Engine/WordReading.hpp"

#include <algorithm>

namespace kelvo {
namespace {

// How far below the best a reading may score and still be read again in words.
constexpr double closeEnough = 2.0;

bool readsInWords(const KeyPath& path) {
    return !path.readsANumber() &&
           std::none_of(path.segments.begin(), path.segments.end(),
                        [](const KeySegment& s) { return s.spellsNoKnownSyllable(); });
}

// The elements a decoder reads for a path: its syllables, and for each English word or Space a
// literal that is no word's neighbour. How likely Chinese is next to English the lattice has
// weighed already, with the switch between them.
std::vector<Element> elementsOf(const KeyPath& path, const std::optional<std::string>& previousReading) {
    std::vector<Element> elements;
    if (previousReading) elements.push_back(Element::reading(*previousReading));
    for (const KeySegment& segment : path.segments)
        elements.push_back(segment.kind == KeySegment::Kind::syllable ? Element::reading(segment.reading)
                                                                      : Element::literal({}));
    return elements;
}

// log10 of the words of the best segmentation in sequence, without the decoder's cost per word;
// none where a syllable makes no word yet (the first of a word of the user's own).
std::optional<double> wordsScore(const SentenceDecoder& decoder, const std::vector<Element>& elements,
                                 const LearnedModel* learned) {
    const auto walked = decoder.scoredWalk(elements, {}, learned);
    double score = walked.score;
    for (const DecodedSegment& segment : walked.segments) {
        if (segment.reading && segment.value == *segment.reading) return std::nullopt;
        score -= SentenceDecoder::nodePenalty + (segment.reading ? 0.0 : SentenceDecoder::literalScore);
    }
    return score;
}

} // namespace

std::optional<KeyPath> likeliestInWords(std::vector<KeyPath> paths,
                                        const std::optional<std::string>& previousReading,
                                        const SentenceDecoder& decoder, const LearnedModel* learned) {
    if (paths.empty()) return std::nullopt;
    if (!readsInWords(paths.front())) return std::move(paths.front());
    const double floor = paths.front().score - closeEnough;
    std::erase_if(paths, [&](const KeyPath& path) { return path.score < floor || !readsInWords(path); });
    if (paths.size() < 2) return std::move(paths.front());
    const SentenceDecoder reader = decoder; // a copy: the engine's decoder keeps its own walks
    std::size_t best = 0;
    double bestScore = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const auto words = wordsScore(reader, elementsOf(paths[i], previousReading), learned);
        if (!words) return std::move(paths.front());
        const double score = paths[i].score - paths[i].syllableScore + *words;
        if (i == 0 || score > bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return std::move(paths[best]);
}

} // namespace kelvo
