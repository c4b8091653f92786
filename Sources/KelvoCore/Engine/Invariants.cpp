// The engine's own consistency, for tests and diagnostics.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"

namespace kelvo {
namespace {

std::optional<std::string> compositionViolation(const Composition& composition) {
    const int count = composition.count();
    if (static_cast<int>(composition.keys().size()) != count) return "element keys out of step with elements";
    if (composition.cursor() < 0 || composition.cursor() > count) return "cursor outside the composition";
    const auto& pins = composition.pins();
    for (std::size_t i = 0; i < pins.size(); ++i) {
        const DecodedSegment& pin = pins[i];
        if (pin.start < 0 || pin.length < 1 || pin.end() > count) return "pin outside the composition";
        for (std::size_t j = i + 1; j < pins.size(); ++j)
            if (pin.start < pins[j].end() && pins[j].start < pin.end()) return "pins overlap";
    }
    for (int index : composition.explicitCase())
        if (index < 0 || index >= count) return "explicitly cased index outside the composition";
    return std::nullopt;
}

template <typename Sheet> bool highlightOutside(const Sheet& list, std::size_t size) {
    return size == 0 || list.highlighted < 0 || list.highlighted >= static_cast<int>(size);
}

std::optional<std::string> stateViolation(const EngineState& state, const Composition& composition) {
    if (const auto* sheet = std::get_if<CandidateSheet>(&state)) {
        if (highlightOutside(*sheet, sheet->all.size())) return "sheet highlight outside its list";
        if (sheet->anchor < 0 || sheet->anchor >= composition.count()) return "sheet anchored outside";
    }
    if (const auto* sheet = std::get_if<BilingualSheet>(&state)) {
        if (highlightOutside(*sheet, sheet->choices.size())) return "bilingual highlight outside its list";
        if (sheet->replacementIndex && *sheet->replacementIndex != composition.cursor() - 1)
            return "punctuation list away from its mark";
    }
    if (const auto* held = std::get_if<HeldEnglish>(&state); held && held->keys.empty())
        return "empty held English";
    if (const auto* buffer = std::get_if<ShortcutBuffer>(&state); buffer && !buffer->keys.starts_with(";;"))
        return "shortcut buffer without its ;;";
    return std::nullopt;
}

} // namespace

std::optional<std::string> InputEngine::invariantViolation() const {
    if (auto violation = compositionViolation(composition_)) return violation;
    if (auto violation = stateViolation(state_, composition_)) return violation;
    if (presentation_ && presentation_->texts != elementTexts()) return "views show a stale composition";
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
    if (presentation_ && presentation_->pending != pendingText()) return "views show a stale pending text";
    return std::nullopt;
}

} // namespace kelvo
