#include "CandidatePanel.hpp"

#include "PanelGeometry.hpp"

namespace kelvo::panels {

CandidatePanel& CandidatePanel::shared() {
    static CandidatePanel* panel = new CandidatePanel; // kept for the whole process
    return *panel;
}

void CandidatePanel::present(const InputEngine::SheetView& sheet, const Rect& caret, int clientLevel,
                             const void* owner, std::function<void(int)> onSelect,
                             std::function<void(bool)> onExpand) {
    window_.ownership.claim(owner);
    auto screen = screenHolding(platform::currentScreens(), {caret.x, caret.y});
    const double available = availableWidth(screen);
    const int columns = std::max(sheet.expanded ? sheet.columns : static_cast<int>(sheet.items.size()), 1);
    std::vector<double> naturals;
    for (const auto& item : sheet.items)
        naturals.push_back(naturalCandidateWidth(item.value));
    const double itemWidth = candidateItemWidth(naturals, available, columns);
    window_.setContent(
        new CandidateView(sheet, itemWidth, available - 10, std::move(onSelect), std::move(onExpand)));
    window_.showUnder(caret, screen, clientLevel);
}

void CandidatePanel::hide(const void* owner) {
    window_.hideFor(owner);
}

} // namespace kelvo::panels
