#include "Detectors/ShiftTapDetector.hpp"

namespace kelvo {

bool ShiftTapDetector::process(const FlagsEvent& event, double at) {
    if (event.kind == FlagsEvent::Kind::shiftDown) {
        pending_ = Pending{event.keyCode, at};
        return false;
    }
    bool releasesPending =
        event.kind == FlagsEvent::Kind::allReleased && pending_ && pending_->keyCode == event.keyCode;
    if (!releasesPending) {
        pending_.reset();
        return false;
    }
    double held = at - pending_->down;
    pending_.reset();
    if (held < maximumTapDuration && at - lastFiredAt_ > minimumTapInterval) {
        lastFiredAt_ = at;
        return true;
    }
    return false;
}

} // namespace kelvo
