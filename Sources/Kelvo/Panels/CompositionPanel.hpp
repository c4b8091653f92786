#pragma once

#include "Engine/InputEngine.hpp"
#include "FloatingPanelWindow.hpp"

#include <string>

namespace kelvo::panels {

// The text being composed, and by "feedbackMode" its readings ("zhuyin"), its keys ("raw") or both.
class CompositionView : public QWidget {
public:
    CompositionView(const InputEngine::Feedback& feedback, const std::string& mode);
    // The lines shown, top to bottom.
    QStringList lines() const;
};

// The floating repetition of the composition under the caret, one for the process.
class CompositionPanel {
public:
    static CompositionPanel& shared();

    // Shows or refreshes the panel; a caret rectangle without size (no position known) hides it.
    void present(const InputEngine::Feedback& feedback, const std::string& mode, const Rect& caret,
                 int clientLevel, const void* owner);
    // Hides the panel when `owner` owns it or nobody does.
    void hide(const void* owner);

    FloatingPanelWindow& window() { return window_; }

private:
    CompositionPanel() : window_(8) {}

    FloatingPanelWindow window_;
};

} // namespace kelvo::panels
