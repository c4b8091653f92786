#include "WindowTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;
using Kind = UserPhraseStore::Entry::Kind;

// The settings window is one per process: these tests share it, in order.
class SettingsWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new kelvo::testing::TemporaryFolder;
        defaults_ = new platform::JsonFileDefaults(*folder_ / "defaults.json");
        registerDefaults(*defaults_);
        SettingsWindowController::shared().show(*defaults_);
    }
    QWidget* window() { return SettingsWindowController::shared().window(); }
    static inline kelvo::testing::TemporaryFolder* folder_;
    static inline platform::JsonFileDefaults* defaults_;
};

TEST_F(SettingsWindowTest, ASpaceToggleChangesThePreviewAtOnceAndTheDefaultsFile) {
    auto& settings = SettingsWindowController::shared();
    defaults_->set("chineseEnglishSpace", false);
    settings.refresh();
    const QString before = settings.previewText();
    EXPECT_TRUE(before.startsWith(QString::fromUtf8("今天review"))) << before.toStdString();
    auto* box = qobject_cast<QCheckBox*>(buttonNamed(window(), "中文與英文：今天 review"));
    ASSERT_NE(box, nullptr);
    box->click();
    EXPECT_TRUE(settings.previewText().startsWith(QString::fromUtf8("今天 review")));
    EXPECT_NE(fileText(*folder_ / "defaults.json").find("\"chineseEnglishSpace\": true"), std::string::npos)
        << fileText(*folder_ / "defaults.json");
    EXPECT_TRUE(booleanSetting(*defaults_, SettingKey::chineseEnglishSpace));
}

TEST_F(SettingsWindowTest, PunctuationChoiceFollowsFullWidthPunctuationAndWritesTheMode) {
    auto* picker = window()->findChildren<QComboBox*>().front();
    defaults_->set("fullWidthPunctuation", false);
    SettingsWindowController::shared().refresh();
    EXPECT_EQ(picker->itemText(0), QString::fromUtf8("沿用設定：半形標點"));
    defaults_->set("fullWidthPunctuation", true);
    SettingsWindowController::shared().refresh();
    EXPECT_EQ(picker->itemText(0), QString::fromUtf8("沿用設定：智慧標點"));
    picker->setCurrentIndex(2);
    emit picker->activated(2);
    EXPECT_EQ(stringSetting(*defaults_, SettingKey::punctuationMode), "chinese");
}

TEST_F(SettingsWindowTest, CancellingTheResetKeepsTheLearnedDataAndClearingRemovesIt) {
    auto store = std::make_shared<UserPhraseStore>();
    store->bump("ㄋㄧˇ", "妳");
    auto& settings = SettingsWindowController::shared();
    settings.onReset = [store] { store->reset(); };
    QAbstractButton* clear = buttonNamed(window(), "清除全部");
    ASSERT_NE(clear, nullptr);
    answerAlert("取消");
    clear->click();
    EXPECT_EQ(store->entries(Kind::selection).size(), 1u);
    answerAlert("清除");
    clear->click();
    EXPECT_TRUE(store->entries(Kind::selection).empty());
}

TEST_F(SettingsWindowTest, EveryLabelAppearsOnceAndOpeningTwiceShowsOneWindow) {
    const QStringList texts = shownTexts(*window());
    for (const char* text : {"一般",
                             "文字與空格",
                             "進階",
                             "中英文切換",
                             "按一下 Shift 切換中／英文",
                             "單獨按一下再放開才會切換。Shift＋字母仍輸入大寫。",
                             "中文輸入",
                             "標點樣式",
                             "自動（中文全形、英文半形）",
                             "中文全形",
                             "英文半形",
                             "每列候選字數",
                             "自動空格",
                             "中文與英文：今天 review",
                             "中文與數字：第 3 版",
                             "英文與數字：version 3",
                             "在送出時套用，保留原有空白；不在標點旁補空格，網址與 email 內的英數維持原樣。",
                             "預覽",
                             "中英混合輸入",
                             "提供英文候選字",
                             "中文模式打英文時，可按 ↓ 選英文單字。",
                             "自動辨認英文單字",
                             "例如 hello：辨認後保留英文，與中文一起按 Enter 送出。",
                             "記住常選的字與管理學習資料",
                             "記住我常選的字",
                             "檢視學習資料",
                             "清除全部",
                             "已清除"})
        EXPECT_EQ(countOf(texts, text), 1) << text;
    EXPECT_EQ(window()->windowTitle(), QString::fromUtf8("Kelvo 設定"));
    SettingsWindowController::shared().show(*defaults_);
    EXPECT_EQ(windowsTitled("Kelvo 設定"), 1);
    EXPECT_EQ(textsWithoutGlyphs(*window()), QStringList());
    auto* tabs = window()->findChild<QTabWidget*>();
    const char* names[] = {"settings-general", "settings-text", "settings-advanced"};
    for (int tab = 0; tab < 3; ++tab) {
        tabs->setCurrentIndex(tab);
        photograph(*window(), names[tab]);
    }
}

TEST(GuideWindow, OneWindowWithEveryRowOnce) {
    auto& controller = GuideWindowController::shared();
    controller.show();
    controller.show();
    EXPECT_EQ(windowsTitled("Kelvo操作說明"), 1);
    const QStringList texts = shownTexts(*controller.window());
    for (const auto* rows : {&GuideView::chinese(), &GuideView::mixed(), &GuideView::smart()})
        for (const auto& row : *rows) {
            EXPECT_EQ(countOf(texts, row.keys.c_str()), 1) << row.keys;
            EXPECT_EQ(countOf(texts, row.detail.c_str()), 1) << row.detail;
        }
    for (const char* text : {"Kelvo", "注音、中英混輸、本機學習與可選的空格規則。", "中文輸入", "中英混輸",
                             "自動處理", "小訣竅"})
        EXPECT_EQ(countOf(texts, text), 1) << text;
    EXPECT_EQ(textsWithoutGlyphs(*controller.window()), QStringList());
    controller.window()->resize(640, 1100);
    photograph(*controller.window(), "guide");
}

namespace {

QImage rendered(const QString& text, QFont font) {
    font.setPixelSize(48);
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

} // namespace

// 骨 is drawn differently in Taiwan and in Japan: the application's font must give Taiwan's shape
// even though the tests run under LANG=C.UTF-8.
TEST(TaiwanGlyphs, HanTextTakesTheTaiwanFaceUnderAnEnglishLocale) {
    auto family = kelvo::platform::taiwanFontFamily();
    if (!family) GTEST_SKIP() << "no installed face covers zh-TW";
    EXPECT_TRUE(QString(qgetenv("LANG")).startsWith("C") || qgetenv("LANG").isEmpty());
    const QString bone = QString::fromUtf8("骨");
    QImage taiwan = rendered(bone, QFont(QString::fromStdString(*family)));
    EXPECT_EQ(rendered(bone, QApplication::font()), taiwan);
    EXPECT_EQ(rendered(bone, kelvo::panels::systemFont(16)), taiwan);
    QImage japan = rendered(bone, QFont("Noto Sans CJK JP"));
    if (QFontInfo(QFont("Noto Sans CJK JP")).family() == "Noto Sans CJK JP") {
        EXPECT_NE(japan, taiwan); // the check can tell the two shapes apart
    }
}

// The panels as the input method shows them, photographed like the windows.
TEST(Screenshots, CandidateStripGridAndCompositionPanel) {
    int owner = 0;
    panels::CandidatePanel& candidates = panels::CandidatePanel::shared();
    auto strip =
        CandidatePreview::sheetOf({"測試", "策試", "策士", "側視", "側室", "測", "冊", "策", "側"}, false);
    strip.pageCount = 3;
    candidates.present(strip, panels::Rect{200, 500, 2, 18}, 3, &owner, nullptr, nullptr);
    photograph(candidates.window().window(), "candidate-strip");
    auto grid = CandidatePreview::sheetOf(std::vector<std::string>(40, "骨"), true);
    grid.highlightedInPage = 30;
    candidates.present(grid, panels::Rect{200, 500, 2, 18}, 3, &owner, nullptr, nullptr);
    QApplication::processEvents();
    photograph(candidates.window().window(), "candidate-grid");
    auto bilingual = CandidatePreview::sheetOf({"就", "Job"}, false);
    candidates.present(bilingual, panels::Rect{200, 500, 2, 18}, 3, &owner, nullptr, nullptr);
    QApplication::processEvents();
    photograph(candidates.window().window(), "bilingual-list");
    candidates.hide(&owner);

    panels::CompositionPanel& composition = panels::CompositionPanel::shared();
    composition.present(InputEngine::Feedback{"測試", "ㄘㄜˋ ㄕˋ", "hk4g4"}, "both",
                        panels::Rect{200, 500, 2, 18}, 3, &owner);
    photograph(composition.window().window(), "composition-panel");
    composition.hide(&owner);
    SUCCEED();
}
