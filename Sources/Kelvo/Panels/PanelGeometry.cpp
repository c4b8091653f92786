#include "PanelGeometry.hpp"

#include <algorithm>
#include <numeric>

namespace kelvo::panels {

int panelLevel(int clientLevel) {
    return std::max(clientLevel + 1, 101);
}

std::optional<Screen> screenHolding(const std::vector<Screen>& screens, Point point) {
    for (const Screen& screen : screens)
        if (screen.frame.contains(point.x, point.y)) return screen;
    if (screens.empty()) return std::nullopt;
    return screens.front();
}

double availableWidth(const std::optional<Screen>& screen) {
    if (!screen) return 860;
    return std::min(screen->visibleFrame.width - 40, 900.0);
}

double candidateItemWidth(const std::vector<double>& naturalWidths, double available, int columns) {
    double widest =
        naturalWidths.empty() ? 60 : *std::max_element(naturalWidths.begin(), naturalWidths.end());
    return std::max(42.0, std::min(widest, (available - 46) / std::max(columns, 1) - 2));
}

Point panelOrigin(const Rect& caret, double width, double height, const std::optional<Screen>& screen) {
    Point origin{caret.x, caret.y - 6 - height};
    if (!screen) return origin;
    const Rect& visible = screen->visibleFrame;
    if (origin.y < visible.y) origin.y = caret.maxY() + 6;
    origin.y = std::min(std::max(origin.y, visible.y), visible.maxY() - height);
    origin.x = std::min(std::max(origin.x, visible.x), visible.maxX() - width);
    return origin;
}

std::vector<double> stripWidths(const std::vector<double>& naturalWidths, double maximumWidth) {
    if (naturalWidths.empty()) return {};
    const double gaps = stripSpacing * static_cast<double>(naturalWidths.size() - 1);
    const double available = std::max(0.0, maximumWidth - gaps);
    if (std::accumulate(naturalWidths.begin(), naturalWidths.end(), 0.0) <= available) return naturalWidths;
    auto cappedSum = [&](double cap) {
        double sum = 0;
        for (double natural : naturalWidths)
            sum += std::min(natural, cap);
        return sum;
    };
    double low = 0, high = *std::max_element(naturalWidths.begin(), naturalWidths.end()), best = 0;
    for (int round = 0; round < 24; ++round) {
        double mid = (low + high) / 2;
        if (cappedSum(mid) <= available)
            best = low = mid;
        else
            high = mid;
    }
    std::vector<double> widths;
    widths.reserve(naturalWidths.size());
    for (double natural : naturalWidths)
        widths.push_back(std::min(natural, best));
    return widths;
}

} // namespace kelvo::panels
