#include "CandidatePreview.hpp"

#include "LexiconStore.hpp"
#include "Panels/CandidateView.hpp"
#include "Windows.hpp"
#include "Windows/GlyphCoverage.hpp"
#include "Windows/WindowSupport.hpp"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <charconv>
#include <memory>

namespace kelvo {
namespace {

using panels::CandidateView;

constexpr double checkItemWidth = 84, checkMaximumWidth = 890;

std::unique_ptr<CandidateView> viewOf(const InputEngine::SheetView& sheet) {
    auto view = std::make_unique<CandidateView>(sheet, checkItemWidth, checkMaximumWidth, nullptr, nullptr);
    view->setAutoFillBackground(true);
    view->adjustSize();
    return view;
}

bool render(QWidget& view, const std::filesystem::path& file) {
    return view.grab().save(QString::fromStdString(file.string()), "PNG");
}

} // namespace

std::string decimalForm(double value) {
    char buffer[64];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    std::string text(buffer, end);
    if (text.find_first_of(".en") == std::string::npos) text += ".0";
    return text;
}

InputEngine::SheetView CandidatePreview::sheetOf(const std::vector<std::string>& values, bool expanded) {
    InputEngine::SheetView sheet;
    for (std::size_t i = 0; i < values.size(); ++i)
        sheet.items.push_back({std::to_string(i + 1), values[i], static_cast<int>(i)});
    sheet.highlightedInPage = 0;
    sheet.columns = 9;
    sheet.expanded = expanded;
    return sheet;
}

bool CandidatePreview::widthsAdapt(double shortWidth, double longWidth) {
    return shortWidth + 20 < longWidth && longWidth < shortWidth + 60;
}

bool CandidatePreview::checkLayout(const std::filesystem::path& outputDirectory, std::ostream& out) {
    const std::vector<std::string> candidates = {"測試", "側視", "側室", "測市", "試",
                                                 "碟",   "策試", "我",   "們"};
    std::vector<std::string> shortWords(9, "我");
    std::vector<std::string> oneLongWord = shortWords;
    oneLongWord[0] = "我知道";
    for (const auto& value : candidates)
        if (!glyphsCover(QString::fromStdString(value), panels::systemFont(16))) return false;

    const double shortWidth = viewOf(sheetOf(shortWords, false))->sizeHint().width();
    const double longWidth = viewOf(sheetOf(oneLongWord, false))->sizeHint().width();
    if (!widthsAdapt(shortWidth, longWidth)) return false;

    std::error_code error;
    std::filesystem::create_directories(outputDirectory, error);
    if (error) return false;
    if (!render(*viewOf(sheetOf(candidates, false)), outputDirectory / "candidate-strip.png") ||
        !render(*viewOf(sheetOf(candidates, true)), outputDirectory / "candidate-grid.png"))
        return false;
    out << "PASS: intrinsic candidate widths (short " << decimalForm(shortWidth) << ", one long word "
        << decimalForm(longWidth) << "); strip and grid rendered\n";
    return true;
}

CandidatePreviewWindow::CandidatePreviewWindow(std::shared_ptr<const Lexicon> lexicon)
    : engine_(std::move(lexicon)) {
    setWindowTitle(QString::fromUtf8("Kelvo 候選預覽（正式引擎）"));
    setFixedSize(680, 500);
    label_ = new QLabel(this);
    label_->setFont(panels::systemFont(24));
    label_->setGeometry(fromBottomLeft(500, 28, 410, 600, 45));
    auto* note =
        new QLabel(QString::fromUtf8("橫向候選列；點箭頭展開更多候選，點文字選字。此視窗用於檢查正式候"
                                     "選面板，不代表跨 App 相容性驗收。"),
                   this);
    note->setWordWrap(true);
    note->setGeometry(fromBottomLeft(500, 28, 24, 620, 55));
    for (const char* key : {"h", "k", "4", "g", "4"})
        engine_.handle(KeyInput::typed(key));
    engine_.handle(KeyInput::of(KeyInput::Kind::arrowDown));
    sync();
}

QString CandidatePreviewWindow::markedText() const {
    return label_->text();
}

void CandidatePreviewWindow::sync() {
    label_->setText(QString::fromStdString(engine_.preedit().text()));
    if (view_) view_->deleteLater(); // it may be the view whose click led here
    view_ = nullptr;
    auto sheet = engine_.sheetView();
    if (!sheet) return;
    view_ = new CandidateView(
        *sheet, checkItemWidth, checkMaximumWidth,
        [this](int index) {
            engine_.selectCandidate(index);
            sync();
        },
        [this](bool expanded) {
            engine_.setCandidatesExpanded(expanded);
            sync();
        });
    view_->setParent(this);
    view_->adjustSize();
    view_->move(28, 500 - 402);
    view_->show();
}

int CandidatePreview::run(const std::optional<platform::Bundle>& bundle) {
    auto lexicon = loadBundledDictionary(bundle);
    if (!lexicon) return 1;
    std::unique_ptr<CandidatePreviewWindow> window;
    return platform::runWindowApplication([&] {
        window = std::make_unique<CandidatePreviewWindow>(lexicon);
        bringForward(*window);
    });
}

} // namespace kelvo
