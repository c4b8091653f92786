#include "Panels.hpp"

#include "CandidatePanel.hpp"
#include "CompositionPanel.hpp"

namespace kelvo::panels {

void FloatingPanels::presentCandidates(const InputEngine::SheetView& sheet, const Rect& caret,
                                       int clientLevel, const void* owner, std::function<void(int)> onSelect,
                                       std::function<void(bool)> onExpand) {
    CandidatePanel::shared().present(sheet, caret, clientLevel, owner, std::move(onSelect),
                                     std::move(onExpand));
}

void FloatingPanels::hideCandidates(const void* owner) {
    CandidatePanel::shared().hide(owner);
}

void FloatingPanels::presentComposition(const InputEngine::Feedback& feedback, const std::string& mode,
                                        const Rect& caret, int clientLevel, const void* owner) {
    CompositionPanel::shared().present(feedback, mode, caret, clientLevel, owner);
}

void FloatingPanels::hideComposition(const void* owner) {
    CompositionPanel::shared().hide(owner);
}

} // namespace kelvo::panels
