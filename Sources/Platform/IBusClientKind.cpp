#include "IBusClientKind.hpp"

namespace kelvo::platform {

IBusClientKind IBusClientKind::named(std::string_view clientName) {
    const bool qt = clientName.starts_with("QIBusInputContext");
    return {.reportsLogicalPixels = qt,
            .insertsMarkedTextItself = qt,
            .dropsMarkedTextOnReset = clientName.starts_with("gtk4-im")};
}

Rect IBusClientKind::logicalCaret(const Rect& reported, const std::vector<ScaledScreen>& screens) const {
    return reportsLogicalPixels ? reported : logicalFromDevicePixels(reported, screens);
}

} // namespace kelvo::platform
