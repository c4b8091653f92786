#include "InstallerView.hpp"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QVBoxLayout>

namespace kelvo::installer {
namespace {

QLabel* text(const char* content, int size = 13, QFont::Weight weight = QFont::Normal) {
    auto* label = new QLabel(QString::fromUtf8(content));
    QFont font = label->font();
    font.setPixelSize(size);
    font.setWeight(weight);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

void dim(QLabel* label) {
    QPalette colors = label->palette();
    QColor color = colors.color(QPalette::WindowText);
    color.setAlphaF(0.6f);
    colors.setColor(QPalette::WindowText, color);
    label->setPalette(colors);
}

} // namespace

void applyDarkAppearance() {
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 42));
    dark.setColor(QPalette::WindowText, QColor(235, 235, 235));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::Text, QColor(235, 235, 235));
    dark.setColor(QPalette::Button, QColor(58, 58, 60));
    dark.setColor(QPalette::ButtonText, QColor(235, 235, 235));
    dark.setColor(QPalette::Highlight, QColor(10, 132, 255));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    QApplication::setPalette(dark);
}

InstallerView::InstallerView(InstallerModel& model) : model_(model) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    auto* header = new QHBoxLayout;
    symbol_ = text("", 24);
    symbol_->setWordWrap(false);
    header->addWidget(symbol_, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    title_ = text("", 20, QFont::DemiBold);
    subtitle_ = text("");
    dim(subtitle_);
    caption_ = text("", 11);
    dim(caption_);
    titles->addWidget(title_);
    titles->addWidget(subtitle_);
    titles->addWidget(caption_);
    header->addLayout(titles, 1);
    settings_ = new QPushButton(QString::fromUtf8("輸入法設定"));
    connect(settings_, &QPushButton::clicked, this, [this] { model_.openInputSettings(); });
    header->addWidget(settings_, 0, Qt::AlignTop);
    layout->addLayout(header);

    pages_ = new QStackedWidget;
    pages_->addWidget(updatePage());
    pages_->addWidget(removePage());
    pages_->addWidget(guidePage());
    layout->addWidget(pages_);

    busyRow_ = new QWidget;
    auto* busy = new QHBoxLayout(busyRow_);
    auto* progress = new QProgressBar;
    progress->setRange(0, 0);
    progress->setMaximumWidth(120);
    busy->addWidget(progress);
    busy->addWidget(text("正在處理，請稍候…"), 1);
    layout->addWidget(busyRow_);

    auto* scroller = new QScrollArea;
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    message_ = text("", 12);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroller->setWidget(message_);
    layout->addWidget(scroller, 1);
    refresh();
}

QWidget* InstallerView::updatePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* install = new QPushButton(QString::fromUtf8("安裝／更新"));
    install->setDefault(true);
    install->setMinimumHeight(34);
    connect(install, &QPushButton::clicked, this, [this] { model_.install(); });
    remove_ = new QPushButton(QString::fromUtf8("解除安裝"));
    remove_->setMinimumHeight(34);
    remove_->setStyleSheet("QPushButton:enabled { color: rgb(255, 105, 97); }");
    connect(remove_, &QPushButton::clicked, this, [this] { model_.remove(); });
    layout->addWidget(install);
    layout->addWidget(remove_);
    return page;
}

QWidget* InstallerView::guidePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(text("1. 加入 Kelvo（已加入可略過）："));
    layout->addWidget(text("　GNOME：設定 → 鍵盤 → 輸入來源 → ＋ → 漢語（台灣）→ Kelvo", 12));
    layout->addWidget(text("　KDE 及其他桌面：執行 ibus-setup → 輸入法 → 新增 → 漢語 → Kelvo", 12));
    layout->addWidget(text("2. 用桌面的輸入來源選單切換到「Kelvo」，或按 Super+空白鍵（GNOME）。"));
    auto* open = new QPushButton(QString::fromUtf8("開啟鍵盤設定"));
    connect(open, &QPushButton::clicked, this, [this] { model_.openKeyboard(); });
    layout->addWidget(open, 0, Qt::AlignLeft);
    serviceNote_ =
        text("新版已安裝。目前仍在使用舊服務，完成組字後切到其他輸入來源，再重新執行更新即可載入新版。", 12);
    dim(serviceNote_);
    layout->addWidget(serviceNote_);
    return page;
}

QWidget* InstallerView::removePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(text("Kelvo 輸入法已移除。之後可重新安裝繼續使用。"));
    return page;
}

void InstallerView::refresh() {
    const InstallerPage page = model_.page.value_or(InstallerPage::update);
    symbol_->setText(page == InstallerPage::remove ? QString::fromUtf8("✓") : QString::fromUtf8("⌨"));
    title_->setText(QString::fromUtf8(page == InstallerPage::guide    ? "安裝完成"
                                      : page == InstallerPage::remove ? "解除安裝完成"
                                                                      : "Kelvo 輸入法"));
    subtitle_->setText(
        QString::fromUtf8(page == InstallerPage::update ? "請選擇要執行的操作" : "設定與學習資料均保留"));
    caption_->setText(QString::fromUtf8("版本 ") + QString::fromStdString(model_.packageVersion) +
                      QString::fromUtf8(model_.installed ? " · 已安裝" : " · 尚未安裝"));
    settings_->setEnabled(model_.installed.has_value());
    remove_->setEnabled(model_.installed.has_value());
    pages_->setCurrentIndex(static_cast<int>(page));
    serviceNote_->setVisible(model_.message.find("未強制關閉") != std::string::npos);
    busyRow_->setVisible(model_.busy);
    message_->setText(QString::fromStdString(model_.message));
    QPalette colors = message_->palette();
    colors.setColor(QPalette::WindowText,
                    model_.failed ? QColor(255, 69, 58) : palette().color(QPalette::WindowText));
    message_->setPalette(colors);
}

QString InstallerView::title() const {
    return title_->text();
}

QString InstallerView::messageText() const {
    return message_->text();
}

bool InstallerView::messageIsRed() const {
    return message_->palette().color(QPalette::WindowText) == QColor(255, 69, 58);
}

bool InstallerView::showsServiceNote() const {
    return !serviceNote_->isHidden();
}

QPushButton* InstallerView::button(const char* label) const {
    for (auto* button : findChildren<QPushButton*>())
        if (button->text() == QString::fromUtf8(label)) return button;
    return nullptr;
}

} // namespace kelvo::installer
