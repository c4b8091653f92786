#pragma once

#include "ScreenGeometry.hpp"

#include <optional>
#include <vector>

// Where the floating panels go and how wide their candidates may be: pure functions over screen
// rectangles, in the host's y-up coordinates.
namespace kelvo::panels {

using platform::Rect;
using platform::Screen;

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A panel floats one level above its client's window, and never below the floating level.
int panelLevel(int clientLevel);

// The first screen whose frame holds the point, else the main screen (the first); none without screens.
std::optional<Screen> screenHolding(const std::vector<Screen>& screens, Point point);

// The widest a candidate list may be on that screen.
double availableWidth(const std::optional<Screen>& screen);

// One candidate's width budget from the values' natural widths (text width + 28 each).
double candidateItemWidth(const std::vector<double>& naturalWidths, double available, int columns);

// The bottom-left corner of a panel of the given size: 6 points below the caret line, above it when
// it would leave the bottom of the screen, and kept inside the visible frame.
Point panelOrigin(const Rect& caret, double width, double height, const std::optional<Screen>& screen);

// The widths of a strip's cells: their natural widths when they fit; otherwise the longest are
// capped at a common width found by bisection, so that all fit with 2 points between cells.
std::vector<double> stripWidths(const std::vector<double>& naturalWidths, double maximumWidth);

inline constexpr double stripSpacing = 2;
inline constexpr double cellHeight = 28;

} // namespace kelvo::panels
