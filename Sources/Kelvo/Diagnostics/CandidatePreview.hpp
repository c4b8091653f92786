#pragma once

#include "Bundle.hpp"
#include "Engine/InputEngine.hpp"
#include "Panels/CandidateView.hpp"

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

class QLabel;

namespace kelvo {

// The preview window: the real engine after h k 4 g 4 and Down, its marked text and its candidate
// view; clicks choose or expand as in the panel.
class CandidatePreviewWindow : public QWidget {
public:
    explicit CandidatePreviewWindow(std::shared_ptr<const Lexicon> lexicon);
    QString markedText() const;
    panels::CandidateView* view() const { return view_; }

private:
    void sync();

    InputEngine engine_;
    QLabel* label_;
    QPointer<panels::CandidateView> view_;
};

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
