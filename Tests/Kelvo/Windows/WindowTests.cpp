#include "WindowTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;
using Kind = UserPhraseStore::Entry::Kind;

// The settings window is one per process: these tests share it, in order.
class SettingsWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        defaults_ = new platform::JsonFileDefaults(folder_ / "defaults.json");
        registerDefaults(*defaults_);
        SettingsWindowController::shared().show(*defaults_);
    }
    QWidget* window() { return SettingsWindowController::shared().window(); }
    static inline kelvo::testing::TemporaryFolder folder_; // removed as the process ends
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
    EXPECT_NE(TemporaryFolder::read(folder_ / "defaults.json").find("\"chineseEnglishSpace\": true"),
              std::string::npos)
        << TemporaryFolder::read(folder_ / "defaults.json");
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
    EXPECT_GT(texts.size(), 20);
    for (const QString& text : texts) // a row added twice shows its label twice
        EXPECT_EQ(texts.count(text), 1) << text.toStdString();
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
