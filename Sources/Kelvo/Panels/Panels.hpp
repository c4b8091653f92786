#pragma once

#include "Engine/InputEngine.hpp"
#include "ScreenGeometry.hpp"

#include <functional>
#include <string>

namespace kelvo::panels {

using platform::Rect;

// The floating panels an input controller keeps in step with its engine: the candidate list and the
// composition feedback. Hiding obeys the owner rule: only the owner, or anyone when nobody owns it.
class Panels {
public:
    virtual ~Panels() = default;
    virtual void presentCandidates(const InputEngine::SheetView& sheet, const Rect& caret, int clientLevel,
                                   const void* owner, std::function<void(int)> onSelect,
                                   std::function<void(bool)> onExpand) = 0;
    virtual void hideCandidates(const void* owner) = 0;
    virtual void presentComposition(const InputEngine::Feedback& feedback, const std::string& mode,
                                    const Rect& caret, int clientLevel, const void* owner) = 0;
    virtual void hideComposition(const void* owner) = 0;
};

// The process's own windows: CandidatePanel::shared() and CompositionPanel::shared().
class FloatingPanels : public Panels {
public:
    void presentCandidates(const InputEngine::SheetView& sheet, const Rect& caret, int clientLevel,
                           const void* owner, std::function<void(int)> onSelect,
                           std::function<void(bool)> onExpand) override;
    void hideCandidates(const void* owner) override;
    void presentComposition(const InputEngine::Feedback& feedback, const std::string& mode, const Rect& caret,
                            int clientLevel, const void* owner) override;
    void hideComposition(const void* owner) override;
};

} // namespace kelvo::panels
