#pragma once

#include <cstdint>
#include <optional>

namespace kelvo {

// Recognises a lone, quick tap of a Shift key: Shift goes down alone, no other key is pressed while
// it is held, and the same Shift key is released less than 0.3 s later. Taps closer than 0.05 s to
// the previous one count once. Times are seconds, key codes the platform's.
class ShiftTapDetector {
public:
    static constexpr double maximumTapDuration = 0.3;
    static constexpr double minimumTapInterval = 0.05;

    // A modifier change, already classified by the caller.
    struct FlagsEvent {
        enum class Kind { shiftDown, allReleased, other };
        Kind kind = Kind::other;
        std::uint16_t keyCode = 0; // not for `other`

        static FlagsEvent shiftDown(std::uint16_t keyCode) { return {Kind::shiftDown, keyCode}; }
        static FlagsEvent allReleased(std::uint16_t keyCode) { return {Kind::allReleased, keyCode}; }
        static FlagsEvent other() { return {Kind::other, 0}; }

        friend bool operator==(const FlagsEvent& a, const FlagsEvent& b) {
            return a.kind == b.kind && (a.kind == Kind::other || a.keyCode == b.keyCode);
        }
    };

    // True exactly when this event completes a tap.
    bool process(const FlagsEvent& event, double at);
    // Every key-down: Shift held while another key is typed is no tap.
    void noteKeyDown() { pending_.reset(); }

private:
    struct Pending {
        std::uint16_t keyCode;
        double down;
    };

    std::optional<Pending> pending_;
    double lastFiredAt_ = -1.0;
};

} // namespace kelvo
