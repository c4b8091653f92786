#pragma once

#include "CandidateView.hpp"
#include "FloatingPanelWindow.hpp"

namespace kelvo::panels {

// The floating list of the open candidates, one for the process, shared by every controller.
class CandidatePanel {
public:
    static CandidatePanel& shared();

    // Shows or refreshes the panel for the sheet below the caret line (host coordinates).
    void present(const InputEngine::SheetView& sheet, const Rect& caret, int clientLevel, const void* owner,
                 std::function<void(int)> onSelect, std::function<void(bool)> onExpand);
    // Hides the panel when `owner` owns it or nobody does.
    void hide(const void* owner);

    FloatingPanelWindow& window() { return window_; }
    CandidateView* view() const { return static_cast<CandidateView*>(window_.content()); }

private:
    CandidatePanel() : window_(12) {}

    FloatingPanelWindow window_;
};

} // namespace kelvo::panels
