#pragma once

#include "Bundle.hpp"
#include "Engine/InputEngine.hpp"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace kelvo {

// The production candidate panel's views, seen without an input method: a window over the real
// engine ("candidate-preview"), and an off-screen check that their widths follow the candidates
// ("candidate-layout-check").
class CandidatePreview {
public:
    // Runs the preview window until it is closed; answers the exit status.
    static int run(const std::optional<platform::Bundle>& bundle);

    // Renders the strip and the grid to PNG files in the folder and prints the PASS line; false
    // (printing nothing) when the widths do not adapt, a glyph is missing or a file fails.
    static bool checkLayout(const std::filesystem::path& outputDirectory, std::ostream& out);

    // Whether a strip with one long word (`longWidth`) is wider than a strip of short ones by what
    // the word's extra characters take, no more.
    static bool widthsAdapt(double shortWidth, double longWidth);

    // A sheet over the values, its first item highlighted: the layout check's input.
    static InputEngine::SheetView sheetOf(const std::vector<std::string>& values, bool expanded);
};

// A double as Swift prints it: the shortest form that reads back, with ".0" when whole.
std::string decimalForm(double value);

} // namespace kelvo
