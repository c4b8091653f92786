#include "GuideWindowController.hpp"

#include "WindowSupport.hpp"
#include "Windows.hpp"

#include <QGridLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kelvo {
namespace {

QLabel* badge(const std::string& keys) {
    QLabel* shown = label(QString::fromStdString(keys), 12, QFont::Medium);
    shown->setMinimumWidth(128);
    QColor tint = shown->palette().color(QPalette::Highlight);
    shown->setStyleSheet(
        QString("QLabel { padding: 4px 8px; border-radius: 6px; background: rgba(%1, %2, %3, 0.12); }")
            .arg(tint.red())
            .arg(tint.green())
            .arg(tint.blue()));
    return shown;
}

void addSection(QVBoxLayout* page, const char* headline, const std::vector<GuideView::Shortcut>& rows) {
    page->addSpacing(8);
    page->addWidget(label(QString::fromUtf8(headline), 17, QFont::DemiBold));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QLabel* detail = label(QString::fromStdString(rows[i].detail), 13);
        detail->setWordWrap(true);
        grid->addWidget(badge(rows[i].keys), static_cast<int>(i), 0, Qt::AlignTop);
        grid->addWidget(detail, static_cast<int>(i), 1);
    }
    grid->setColumnStretch(1, 1);
    page->addLayout(grid);
}

} // namespace

const std::vector<GuideView::Shortcut>& GuideView::chinese() {
    static const std::vector<Shortcut> rows = {
        {"注音鍵", "照大千（標準）鍵盤打，打完聲調就成一個字"},
        {"空白", "組字中＝一聲；音節完成後＝插入空格"},
        {"↑ ↓", "↓ 開候選，再按 ↓ 或點箭頭展開更多；展開後 ↑ ↓ 換列"},
        {"← →", "候選窗中逐項選字；組字時移動文字游標改字或插字"},
        {"1 – 9", "直接選候選字"},
        {"Enter", "把組好的字送出"},
        {"Esc", "清掉組字中的內容／關閉候選字窗"},
    };
    return rows;
}

const std::vector<GuideView::Shortcut>& GuideView::mixed() {
    static const std::vector<Shortcut> rows = {
        {"直接打英文", "明確英文會直接接在組字區；Enter 與中文一起送出。有歧義時按 ↓ 開候選"},
        {"Shift＋字母", "開始英文段（首字大寫），之後小寫字母原樣接續；再按一下 Shift 回中文"},
        {"長按字母／數字", "直接輸出那個字元，例如按住 g 出 g、按住 5 出 5"},
        {"打數字", "直接打數字、1.62 或 1mm；Enter 送出。合法注音聲調仍優先組中文"},
        {"Shift 單擊", "整體切換中／英模式，沒有額外中英浮窗"},
        {"Tab", "接受英文偵測提示，直接上英文字"},
    };
    return rows;
}

const std::vector<GuideView::Shortcut>& GuideView::smart() {
    static const std::vector<Shortcut> rows = {
        {"選字記憶", "送出後才記住最終選字，取消與刪字不學習；偏好設定可關閉學習與已有偏好的套用"},
        {"自動造詞", "同一串注音連續兩次被你改字後上屏，就自動學成新詞"},
        {"標點偏好",
         "智慧模式分中文全形與英文半形；也可選固定中文或英文。中文逗號／句號用 Shift＋逗號／句點"},
        {"自動空格", "中文／英文／數字的三種空格規則可分別開關，在送出時套用；設定中可預覽"},
    };
    return rows;
}

GuideView::GuideView() {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(28, 24, 28, 24);
    page->addWidget(label("Kelvo", 24, QFont::DemiBold));
    page->addWidget(
        label(QString::fromUtf8("注音、中英混輸、本機學習與可選的空格規則。"), 13, QFont::Normal, 0.6));
    addSection(page, "中文輸入", chinese());
    addSection(page, "中英混輸", mixed());
    addSection(page, "自動處理", smart());
    page->addSpacing(8);
    page->addWidget(label(QString::fromUtf8("小訣竅"), 17, QFont::DemiBold));
    QLabel* tips =
        label(QString::fromUtf8(
                  "・打「用Google搜索」：先打 ㄩㄥˋ，再打 google，英文直接接進組字區；Enter 一起送出\n"
                  "・第一版先測注音與選字；英文模式請用 Shift 單擊回中文\n"
                  "・想看Kelvo記住了什麼，開「學習資料…」，可以逐筆刪掉學壞的"),
              13);
    tips->setWordWrap(true);
    page->addWidget(tips);
    page->addStretch(1);
}

GuideWindowController& GuideWindowController::shared() {
    static GuideWindowController* controller = new GuideWindowController; // for the whole process
    return *controller;
}

void GuideWindowController::show() {
    if (!window_) {
        window_ = std::make_unique<QWidget>();
        window_->setWindowTitle(QString::fromUtf8("Kelvo操作說明"));
        window_->resize(640, 720);
        auto* scroller = new QScrollArea;
        scroller->setWidgetResizable(true);
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setWidget(new GuideView);
        auto* layout = new QVBoxLayout(window_.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroller);
        platform::centreOnScreen(*window_);
    }
    bringForward(*window_);
}

} // namespace kelvo
