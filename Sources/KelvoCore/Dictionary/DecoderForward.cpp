// The memory a decoder keeps of its last walk, and how much of it the next walk takes up.
#include "Dictionary/DecoderForward.hpp"

#include <algorithm>

namespace kelvo {

SentenceDecoder::ForwardMemory::ForwardMemory() = default;
SentenceDecoder::ForwardMemory::ForwardMemory(const ForwardMemory&) {}
SentenceDecoder::ForwardMemory& SentenceDecoder::ForwardMemory::operator=(const ForwardMemory&) {
    forward_.reset();
    return *this;
}
SentenceDecoder::ForwardMemory::~ForwardMemory() = default;

SentenceDecoder::Forward& SentenceDecoder::ForwardMemory::forWalk(const SentenceDecoder& decoder,
                                                                  const std::vector<Element>& elements,
                                                                  const std::vector<DecodedSegment>& pins,
                                                                  const LearnedModel* learned) {
    if (!forward_) forward_ = std::make_unique<Forward>();
    Forward& forward = *forward_;
    Forward::Basis basis{decoder.lexicon,          decoder.wordPairs,
                         decoder.transitionWeight, decoder.candidateDepth,
                         learned != nullptr,       learned ? learned->revision() : std::nullopt,
                         elements.size() > 1};
    const bool reusable = basis == forward.basis && (!basis.learned || basis.revision) &&
                          pins == forward.pins && forward.extras.size() < Forward::extrasKept &&
                          !forward.states.empty();
    std::size_t same = 0;
    if (reusable) {
        const std::size_t limit = std::min(forward.elements.size(), elements.size());
        while (same < limit && forward.elements[same] == elements[same])
            ++same;
    } else {
        forward.basis = std::move(basis);
        forward.pins = pins;
        forward.extras.clear();
    }
    forward.elements.resize(same);
    forward.elements.insert(forward.elements.end(), elements.begin() + static_cast<std::ptrdiff_t>(same),
                            elements.end());
    forward.states.resize(same + 1);
    return forward;
}

} // namespace kelvo
