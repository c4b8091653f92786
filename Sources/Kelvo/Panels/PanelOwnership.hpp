#pragma once

#include <optional>

namespace kelvo::panels {

// Which controller last showed a process-wide panel. A controller hides a panel only when it owns
// it or nobody does, so a late call from a client that lost focus never hides another's panel.
class PanelOwnership {
public:
    void claim(const void* owner) { owner_ = owner; }
    // True when `owner` may hide the panel; it then has no owner.
    bool release(const void* owner) {
        if (owner_ && *owner_ != owner) return false;
        owner_.reset();
        return true;
    }
    std::optional<const void*> owner() const { return owner_; }

private:
    std::optional<const void*> owner_;
};

} // namespace kelvo::panels
