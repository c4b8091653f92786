#include "SettingsWindowController.hpp"

#include "SessionBus.hpp"
#include "SettingKey.hpp"
#include "WindowSupport.hpp"
#include "Windows.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvo {
namespace {

constexpr const char* previewSample = "今天review api第3版，check一下github";

QGroupBox* section(const char* title, QVBoxLayout* pane) {
    auto* group = new QGroupBox(QString::fromUtf8(title));
    group->setLayout(new QVBoxLayout);
    pane->addWidget(group);
    return group;
}

void add(QGroupBox* group, QWidget* widget) {
    group->layout()->addWidget(widget);
}

// A pane: a padded form in a vertical scroll view.
std::pair<QScrollArea*, QVBoxLayout*> scrollingPane() {
    auto* scroller = new QScrollArea;
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(20, 16, 20, 16);
    scroller->setWidget(content);
    return {scroller, layout};
}

QString fromDefaultsLabel(bool fullWidth) {
    return QString::fromUtf8(fullWidth ? "沿用設定：智慧標點" : "沿用設定：半形標點");
}

} // namespace

SettingsWindowController& SettingsWindowController::shared() {
    static SettingsWindowController* controller = new SettingsWindowController; // for the whole process
    return *controller;
}

bool SettingsWindowController::askToReset(QWidget* parent) {
    QMessageBox alert(parent);
    alert.setIcon(QMessageBox::Warning);
    alert.setText(QString::fromUtf8("清除全部學習資料？"));
    alert.setInformativeText(
        QString::fromUtf8("選字紀錄、自動學成的新詞、詞語接續習慣都會刪除，無法復原。內建詞庫不受影響。"));
    QPushButton* cancel = alert.addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
    QPushButton* clear = alert.addButton(QString::fromUtf8("清除"), QMessageBox::DestructiveRole);
    alert.setDefaultButton(cancel);
    alert.exec();
    return alert.clickedButton() == clear;
}

void SettingsWindowController::show(platform::UserDefaults& defaults) {
    if (!window_) {
        defaults_ = &defaults;
        build();
        platform::centreOnScreen(*window_);
    }
    refresh();
    bringForward(*window_);
}

void SettingsWindowController::build() {
    window_ = std::make_unique<QWidget>();
    window_->setWindowTitle(QString::fromUtf8("Kelvo 設定"));
    window_->resize(580, 480);
    auto* tabs = new QTabWidget;
    tabs->addTab(generalPane(), QString::fromUtf8("一般"));
    tabs->addTab(textPane(), QString::fromUtf8("文字與空格"));
    tabs->addTab(advancedPane(), QString::fromUtf8("進階"));
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs);
    // Values changed elsewhere (another process, the menu) show while the window is open.
    auto* poll = new QTimer(window_.get());
    QObject::connect(poll, &QTimer::timeout, window_.get(), [this] {
        if (window_->isVisible()) refresh();
    });
    poll->start(1000);
}

QCheckBox* SettingsWindowController::toggle(SettingKey key, const char* text) {
    auto* box = new QCheckBox(QString::fromUtf8(text));
    toggles_.emplace_back(key, box);
    QObject::connect(box, &QCheckBox::toggled, box, [this, key](bool on) {
        if (booleanSetting(*defaults_, key) != on) defaults_->set(settingName(key), on);
        preview_->setText(previewText());
    });
    return box;
}

QWidget* SettingsWindowController::generalPane() {
    auto [pane, layout] = scrollingPane();
    QGroupBox* switching = section("中英文切換", layout);
    add(switching, toggle(SettingKey::shiftToggle, "按一下 Shift 切換中／英文"));
    add(switching, noteLabel("單獨按一下再放開才會切換。Shift＋字母仍輸入大寫。"));
    // The key that changes the input source is the framework's: Fcitx5's own, or the desktop's.
    const bool underFcitx5 = platform::ownerOf("org.fcitx.Fcitx5").has_value();
    add(switching,
        noteLabel(underFcitx5 ? "Caps Lock 開啟時直接輸入英文。要換到英文輸入來源，請用 Fcitx5 的"
                                "切換鍵（預設為 Ctrl+空白鍵）。"
                              : "Caps Lock 開啟時直接輸入英文。要換到英文輸入來源，請用桌面的切換鍵"
                                "（GNOME 預設為 Super+空白鍵）。"));

    QGroupBox* chinese = section("中文輸入", layout);
    auto* form = new QFormLayout;
    punctuation_ = new QComboBox;
    punctuation_->addItem(fromDefaultsLabel(true), QString());
    punctuation_->addItem(QString::fromUtf8("自動（中文全形、英文半形）"), QString("smart"));
    punctuation_->addItem(QString::fromUtf8("中文全形"), QString("chinese"));
    punctuation_->addItem(QString::fromUtf8("英文半形"), QString("english"));
    QObject::connect(punctuation_, &QComboBox::activated, punctuation_, [this](int index) {
        defaults_->set(settingName(SettingKey::punctuationMode),
                       punctuation_->itemData(index).toString().toStdString());
        preview_->setText(previewText());
    });
    form->addRow(QString::fromUtf8("標點樣式"), punctuation_);
    pageSize_ = new QComboBox;
    pageSize_->addItem("7", 7);
    pageSize_->addItem("9", 9);
    QObject::connect(pageSize_, &QComboBox::activated, pageSize_, [this](int index) {
        defaults_->set(settingName(SettingKey::pageSize),
                       static_cast<long long>(pageSize_->itemData(index).toInt()));
    });
    form->addRow(QString::fromUtf8("每列候選字數"), pageSize_);
    static_cast<QVBoxLayout*>(chinese->layout())->addLayout(form);
    layout->addStretch(1);
    return pane;
}

QWidget* SettingsWindowController::textPane() {
    auto [pane, layout] = scrollingPane();
    QGroupBox* spaces = section("自動空格", layout);
    add(spaces, toggle(SettingKey::chineseEnglishSpace, "中文與英文：今天 review"));
    add(spaces, toggle(SettingKey::chineseNumberSpace, "中文與數字：第 3 版"));
    add(spaces, toggle(SettingKey::englishNumberSpace, "英文與數字：version 3"));
    add(spaces, noteLabel("在送出時套用，保留原有空白；不在標點旁補空格，網址與 email 內的英數維持原樣。"));
    auto* row = new QFormLayout;
    preview_ = new QLabel;
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addRow(QString::fromUtf8("預覽"), preview_);
    static_cast<QVBoxLayout*>(spaces->layout())->addLayout(row);
    layout->addStretch(1);
    return pane;
}

QWidget* SettingsWindowController::advancedPane() {
    auto [pane, layout] = scrollingPane();
    QGroupBox* mixed = section("中英混合輸入", layout);
    add(mixed, toggle(SettingKey::englishHint, "提供英文候選字"));
    add(mixed, noteLabel("中文模式打英文時，可按 ↓ 選英文單字。"));
    add(mixed, toggle(SettingKey::automaticEnglish, "自動辨認英文單字"));
    add(mixed, noteLabel("例如 hello：辨認後保留英文，與中文一起按 Enter 送出。"));

    // A disclosure group, closed at first.
    auto* disclosure = new QToolButton;
    disclosure->setText(QString::fromUtf8("記住常選的字與管理學習資料"));
    disclosure->setCheckable(true);
    disclosure->setAutoRaise(true);
    disclosure->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    disclosure->setArrowType(Qt::RightArrow);
    auto* learned = new QWidget;
    auto* learnedLayout = new QVBoxLayout(learned);
    learnedLayout->addWidget(toggle(SettingKey::learning, "記住我常選的字"));
    learnedLayout->addWidget(
        noteLabel("候選確認並送出後才記住；取消或刪掉的選字不學習。同一串改字詞送出兩次後會學成新詞。"
                  "關閉時不學習，也不套用已有偏好；紀錄仍保留。資料只存在本機。"));
    auto* buttons = new QHBoxLayout;
    auto* show = new QPushButton(QString::fromUtf8("檢視學習資料"));
    QObject::connect(show, &QPushButton::clicked, show, [this] {
        if (onShowLearnedData) onShowLearnedData();
    });
    auto* clear = new QPushButton(QString::fromUtf8("清除全部"));
    QObject::connect(clear, &QPushButton::clicked, clear, [this] { reset(); });
    resetDone_ = new QLabel(QString::fromUtf8("已清除"));
    resetDone_->hide();
    buttons->addWidget(show);
    buttons->addWidget(clear);
    buttons->addWidget(resetDone_);
    buttons->addStretch(1);
    learnedLayout->addLayout(buttons);
    learned->setVisible(false);
    QObject::connect(disclosure, &QToolButton::toggled, learned, [disclosure, learned](bool open) {
        disclosure->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        learned->setVisible(open);
    });
    layout->addWidget(disclosure);
    layout->addWidget(learned);
    layout->addStretch(1);
    return pane;
}

void SettingsWindowController::reset() {
    bool confirmed = confirmReset ? confirmReset() : askToReset(window_.get());
    if (!confirmed) return;
    if (onReset) onReset();
    resetDone_->show();
}

void SettingsWindowController::refresh() {
    if (!window_) return;
    for (auto [key, box] : toggles_)
        box->setChecked(booleanSetting(*defaults_, key));
    punctuation_->setItemText(
        0, fromDefaultsLabel(booleanSetting(*defaults_, SettingKey::fullWidthPunctuation)));
    int mode = punctuation_->findData(
        QString::fromStdString(stringSetting(*defaults_, SettingKey::punctuationMode).value_or("")));
    punctuation_->setCurrentIndex(mode < 0 ? 0 : mode);
    int size = pageSize_->findData(static_cast<int>(integerSetting(*defaults_, SettingKey::pageSize)));
    pageSize_->setCurrentIndex(size < 0 ? 1 : size);
    preview_->setText(previewText());
}

QString SettingsWindowController::previewText() const {
    if (!defaults_) return {};
    return QString::fromStdString(formattingSettings(storedIn(*defaults_)).apply(previewSample));
}

} // namespace kelvo
