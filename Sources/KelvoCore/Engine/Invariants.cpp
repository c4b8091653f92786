// The engine's own consistency, for tests and diagnostics.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"

namespace kelvo {

std::optional<std::string> InputEngine::invariantViolation() const {
    const int count = static_cast<int>(state_.elements.size());
    if (static_cast<int>(state_.elementKeys.size()) != count) return "element keys out of step with elements";
    if (state_.cursor < 0 || state_.cursor > count) return "cursor outside the composition";
    for (std::size_t i = 0; i < state_.pins.size(); ++i) {
        const DecodedSegment& pin = state_.pins[i];
        if (pin.start < 0 || pin.length < 1 || pin.end() > count) return "pin outside the composition";
        for (std::size_t j = i + 1; j < state_.pins.size(); ++j)
            if (pin.start < state_.pins[j].end() && state_.pins[j].start < pin.end()) return "pins overlap";
    }
    for (int index : state_.explicitEnglishCase)
        if (index < 0 || index >= count) return "explicitly cased index outside the composition";
    if (state_.candidatesExpanded && !state_.sheet) return "expanded without a sheet";
    if (state_.sheet && (state_.sheet->all.empty() || state_.sheet->highlighted < 0 ||
                         state_.sheet->highlighted >= static_cast<int>(state_.sheet->all.size())))
        return "sheet highlight outside its list";
    if (state_.bilingual &&
        (state_.bilingual->choices.empty() || state_.bilingual->highlighted < 0 ||
         state_.bilingual->highlighted >= static_cast<int>(state_.bilingual->choices.size())))
        return "bilingual highlight outside its list";
    if (state_.automaticEnglishBuffer && !state_.composer.isEmpty()) return "held English beside a syllable";
    const Preedit marked = preedit();
    const int length = static_cast<int>(utf16Length(marked.text()));
    if (marked.caretUTF16 < 0 || marked.caretUTF16 > length) return "caret outside the marked text";
    if (marked.activeRangeUTF16 &&
        (marked.activeRangeUTF16->start < 0 || marked.activeRangeUTF16->length <= 0 ||
         marked.activeRangeUTF16->start + marked.activeRangeUTF16->length > length))
        return "active range outside the marked text";
    for (std::size_t i = 0; i < marked.pieces.size(); ++i) {
        if (marked.pieces[i].text.empty()) return "empty piece";
        if (i > 0 && marked.pieces[i].style == marked.pieces[i - 1].style)
            return "neighbouring pieces share a style";
    }
    return std::nullopt;
}

} // namespace kelvo
