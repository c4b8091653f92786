#include "IBusClientKind.hpp"
#include "InputClient.hpp"

#include <gtest/gtest.h>

namespace kelvo::platform {
namespace {

// A 1280×800 screen at the given scale, as Qt in the input method sees it.
std::vector<ScaledScreen> screenAt(double scale) {
    return {{Rect{0, 0, 1280 / scale, 800 / scale}, scale}};
}

TEST(IBusClientKind, TheCaretOfEachToolkitLandsInLogicalPixelsAtEveryScale) {
    const Rect gtkCaret{400, 300, 2, 40}; // GTK: the screen's pixels
    const Rect qtCaret{200, 150, 1, 20};  // Qt at 2×: its logical pixels
    struct Case {
        const char* client;
        Rect reported;
        double scale;
        Rect expected;
    } cases[] = {
        {"gtk3-im:mousepad", gtkCaret, 1, gtkCaret},
        {"gtk4-im:gnome-text-editor", gtkCaret, 2, Rect{200, 150, 1, 20}},
        {"QIBusInputContext", qtCaret, 1, qtCaret},
        {"QIBusInputContext", qtCaret, 2, qtCaret},
        {"", gtkCaret, 2, Rect{200, 150, 1, 20}}, // IBus too old to name the client
    };
    for (const auto& c : cases)
        EXPECT_EQ(IBusClientKind::named(c.client).logicalCaret(c.reported, screenAt(c.scale)), c.expected)
            << c.client << " at " << c.scale;
}

TEST(CandidateList, AFrameworkThatShowsFewerItemsGetsTheStretchWithTheHighlight) {
    CandidateList list;
    for (int i = 0; i < 100; ++i)
        list.items.push_back({std::to_string(i), "x"});
    struct Case {
        int highlighted;
        int items;
        int first;
    } cases[] = {{-1, 100, 0},  {0, 100, 0},   {15, 100, 0}, {16, 100, 16},
                 {40, 100, 32}, {97, 100, 84}, {5, 9, 0},    {16, 17, 1}};
    for (const auto& c : cases) {
        list.items.resize(static_cast<std::size_t>(c.items));
        list.highlighted = c.highlighted;
        EXPECT_EQ(firstShownItem(list, 16), c.first) << c.highlighted << " of " << c.items;
    }
}

} // namespace
} // namespace kelvo::platform
