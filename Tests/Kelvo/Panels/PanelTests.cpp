#include "Diagnostics/CandidatePreview.hpp"
#include "Panels/CandidatePanel.hpp"
#include "Panels/CompositionPanel.hpp"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sstream>

using namespace kelvo;
using namespace kelvo::panels;

namespace {

InputEngine::SheetView sheetOf(std::vector<std::string> values, int pageCount = 1) {
    auto sheet = CandidatePreview::sheetOf(values, false);
    sheet.pageCount = pageCount;
    return sheet;
}

QToolButton* control(QWidget* view) {
    auto buttons = view->findChildren<QToolButton*>();
    return buttons.size() == 1 ? buttons.front() : nullptr;
}

} // namespace

TEST(CandidateView, TheStripExpandsWithMorePagesAndTheGridCollapses) {
    EXPECT_EQ(
        control(std::make_unique<CandidateView>(sheetOf({"你", "妳"}), 84, 890, nullptr, nullptr).get()),
        nullptr); // one page: nothing to expand
    std::optional<bool> expanded;
    CandidateView more(sheetOf({"你", "妳"}, 2), 84, 890, nullptr, [&](bool value) { expanded = value; });
    ASSERT_NE(control(&more), nullptr);
    EXPECT_EQ(control(&more)->accessibleName(), QString::fromUtf8("展開更多候選"));
    control(&more)->click();
    EXPECT_EQ(expanded, true);

    auto sheet = CandidatePreview::sheetOf(std::vector<std::string>(20, "試"), true);
    sheet.highlightedInPage = 19;
    CandidateView grid(sheet, 84, 890, nullptr, [&](bool value) { expanded = value; });
    grid.adjustSize();
    QStringList texts;
    for (auto* label : grid.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QString::fromUtf8("← → 選字 · ↑ ↓ 換列 · 數字選本頁")));
    ASSERT_NE(control(&grid), nullptr);
    EXPECT_EQ(control(&grid)->accessibleName(), QString::fromUtf8("收合候選"));
    control(&grid)->click();
    EXPECT_EQ(expanded, false);
    ASSERT_EQ(grid.cells().size(), 20u);
    for (auto* cell : grid.cells())
        EXPECT_EQ(cell->width(), 84);
    EXPECT_TRUE(grid.cells()[19]->isHighlighted());
    EXPECT_FALSE(grid.cells()[0]->isHighlighted());
}

TEST(CandidateView, TheGridScrollsToKeepTheHighlightInView) {
    auto sheet = CandidatePreview::sheetOf(std::vector<std::string>(100, "試"), true);
    for (int highlighted : {0, 40, 99}) {
        sheet.highlightedInPage = highlighted;
        CandidateView grid(sheet, 84, 890, nullptr, nullptr);
        grid.show();
        QApplication::processEvents();
        auto* scroller = grid.findChild<QAbstractScrollArea*>();
        ASSERT_NE(scroller, nullptr);
        QWidget* cell = grid.cells()[static_cast<std::size_t>(highlighted)];
        const QRect shown(cell->mapTo(scroller->viewport(), QPoint(0, 0)), cell->size());
        EXPECT_TRUE(scroller->viewport()->rect().contains(shown)) << highlighted;
    }
}

TEST(CandidateView, ACandidateIsDrawnWholeWhenItsCellWasSizedForIt) {
    const QFontMetricsF metrics(systemFont(16));
    const QString job = "Job";
    const double width = metrics.horizontalAdvance(job);
    EXPECT_EQ(shownValue(job, metrics, width), job);
    EXPECT_EQ(shownValue(job, metrics, width - 0.4),
              QString(metrics.elidedText(job, Qt::ElideRight, width - 0.4)));
    const QString longValue = QString::fromUtf8("這是一個很長很長的候選詞");
    EXPECT_TRUE(shownValue(longValue, metrics, 60).endsWith(QString::fromUtf8("…")));

    // The English hint and a bilingual list keep every value whole on a wide enough strip.
    auto sheet = sheetOf({"就", "Job"});
    sheet.items[1].label = "⇥";
    CandidateView view(sheet, 84, 890, nullptr, nullptr);
    view.show();
    QApplication::processEvents();
    for (auto* cell : view.cells())
        EXPECT_GE(cell->width(), cell->sizeHint().width()) << cell->accessibleName().toStdString();
}

TEST(CandidateView, ClickingACellSelectsItsIndex) {
    auto sheet = sheetOf({"你", "妳", "擬"});
    for (std::size_t i = 0; i < sheet.items.size(); ++i)
        sheet.items[i].index = 9 + static_cast<int>(i); // the second page's items
    std::optional<int> selected;
    CandidateView view(
        sheet, 84, 890, [&](int index) { selected = index; }, nullptr);
    view.adjustSize();
    QTest::mouseClick(view.cells()[1], Qt::LeftButton);
    EXPECT_EQ(selected, 10);
}

TEST(CandidatePanel, PresentsBelowTheCaretAndHidesOnlyForItsOwner) {
    int a = 0, b = 0;
    CandidatePanel& panel = CandidatePanel::shared();
    const Rect caret{200, 500, 2, 18};
    panel.present(sheetOf({"你", "妳"}), caret, 3, &a, nullptr, nullptr);
    const Rect& frame = panel.window().frame();
    EXPECT_EQ(frame.x, 200);
    EXPECT_EQ(frame.maxY(), caret.y - 6);
    EXPECT_EQ(frame.width, panel.view()->sizeHint().width());
    EXPECT_TRUE(panel.window().isVisible());
    EXPECT_FALSE(panel.window().window().isActiveWindow()); // never takes focus

    panel.hide(&b); // a late call from another controller
    EXPECT_TRUE(panel.window().isVisible());
    panel.hide(&a);
    EXPECT_FALSE(panel.window().isVisible());
    EXPECT_FALSE(panel.window().ownership.owner());
    panel.hide(&b); // nobody owns it: anyone may hide it
    EXPECT_FALSE(panel.window().isVisible());
}

TEST(CandidatePanel, ItsWindowIsCutToItsRoundedShapeWithoutACompositor) {
    int owner = 0;
    CandidatePanel& panel = CandidatePanel::shared();
    panel.present(sheetOf({"你", "妳"}), Rect{200, 500, 2, 18}, 3, &owner, nullptr, nullptr);
    QWidget& window = panel.window().window();
    QApplication::processEvents();
    const QRegion shape = window.mask();
    ASSERT_FALSE(shape.isEmpty()); // offscreen: no compositing manager
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(window.width() - 1, window.height() - 1)));
    EXPECT_TRUE(shape.contains(window.rect().center()));
    panel.hide(&owner);
}

TEST(CompositionPanel, LinesFollowTheFeedbackModeAndAnUnknownCaretHidesIt) {
    InputEngine::Feedback feedback{"你好", "ㄋㄧˇ ㄏㄠˇ", "su3cl3"};
    EXPECT_EQ(CompositionView(feedback, "zhuyin").lines(), (QStringList{"你好", "ㄋㄧˇ ㄏㄠˇ"}));
    EXPECT_EQ(CompositionView(feedback, "raw").lines(), (QStringList{"你好", "su3cl3"}));
    EXPECT_EQ(CompositionView(feedback, "both").lines(), (QStringList{"你好", "ㄋㄧˇ ㄏㄠˇ", "su3cl3"}));
    EXPECT_EQ(CompositionView(feedback, "other").lines(), (QStringList{"你好"}));

    int owner = 0;
    CompositionPanel& panel = CompositionPanel::shared();
    panel.present(feedback, "zhuyin", {300, 400, 2, 18}, 200, &owner);
    EXPECT_TRUE(panel.window().isVisible());
    panel.present(feedback, "zhuyin", {}, 0, &owner); // the client gave no position
    EXPECT_FALSE(panel.window().isVisible());
}

TEST(CandidateLayoutCheck, PassesForAdaptiveWidthsAndFailsForEqualCells) {
    EXPECT_FALSE(CandidatePreview::widthsAdapt(389, 389)); // every cell the same fixed width
    EXPECT_FALSE(CandidatePreview::widthsAdapt(389, 460));
    EXPECT_TRUE(CandidatePreview::widthsAdapt(389, 421));

    std::ostringstream out;
    auto folder = std::filesystem::temp_directory_path() / "kelvo-layout-check";
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(CandidatePreview::checkLayout(folder / "nested", out));
    EXPECT_TRUE(std::filesystem::file_size(folder / "nested/candidate-strip.png") > 0);
    EXPECT_TRUE(std::filesystem::file_size(folder / "nested/candidate-grid.png") > 0);
    EXPECT_TRUE(out.str().starts_with("PASS: intrinsic candidate widths (short ")) << out.str();
    EXPECT_TRUE(out.str().ends_with("); strip and grid rendered\n"));
    std::filesystem::remove_all(folder);
}

TEST(CandidatePreviewWindow, ShowsTheRealEnginesListAndTakesClicks) {
    auto lexicon = Lexicon::contentsOf(KELVO_RESOURCES_DIR "/data/data.txt");
    CandidatePreviewWindow window(lexicon);
    EXPECT_EQ(window.markedText(), QString::fromUtf8("測試"));
    ASSERT_NE(window.view(), nullptr);
    ASSERT_GE(window.view()->cells().size(), 2u);
    QTest::mouseClick(window.view()->cells()[1], Qt::LeftButton);
    EXPECT_NE(window.markedText(), QString::fromUtf8("測試"));
    EXPECT_EQ(window.view(), nullptr); // choosing closed the list
}
