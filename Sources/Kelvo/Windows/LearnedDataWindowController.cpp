#include "LearnedDataWindowController.hpp"

#include "WindowSupport.hpp"
#include "Windows.hpp"

#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvo {
namespace {

using Kind = UserPhraseStore::Entry::Kind;
constexpr Kind kinds[] = {Kind::selection, Kind::word, Kind::transition};

const char* noteOf(Kind kind) {
    switch (kind) {
    case Kind::selection:
        return "你在候選字窗選過的字——選越多次，之後排得越前面。";
    case Kind::word:
        return "同一串注音連續兩次被你改字後上屏，就自動學成新詞。";
    case Kind::transition:
        return "從你上屏的句子學到的詞語接續習慣，讓斷詞越用越準。";
    }
    return "";
}

bool matches(const UserPhraseStore::Entry& entry, const std::string& search) {
    return search.empty() || entry.key.find(search) != std::string::npos ||
           entry.value.find(search) != std::string::npos;
}

} // namespace

LearnedDataView::LearnedDataView(std::shared_ptr<UserPhraseStore> store) : store_(std::move(store)) {
    auto* layout = new QVBoxLayout(this);
    searchField_ = new QLineEdit;
    searchField_->setPlaceholderText(QString::fromUtf8("搜尋讀音或字詞"));
    searchField_->setClearButtonEnabled(true);
    connect(searchField_, &QLineEdit::textChanged, this, [this](const QString& text) { setSearch(text); });
    layout->addWidget(searchField_);

    kinds_ = new QTabBar;
    for (Kind kind : kinds)
        kinds_->addTab(QString::fromStdString(std::string(UserPhraseStore::label(kind))));
    connect(kinds_, &QTabBar::currentChanged, this, [this](int index) { setKind(kinds[index]); });
    layout->addWidget(kinds_);
    note_ = label({}, 12, QFont::Normal, 0.6);
    note_->setWordWrap(true);
    layout->addWidget(note_);

    stack_ = new QStackedWidget;
    auto* empty = new QWidget;
    auto* emptyLayout = new QVBoxLayout(empty);
    emptyTitle_ = label({}, 17, QFont::DemiBold);
    emptyDetail_ = label({}, 13, QFont::Normal, 0.6);
    emptyLayout->addStretch(1);
    for (QLabel* line : {emptyTitle_, emptyDetail_}) {
        line->setAlignment(Qt::AlignCenter);
        emptyLayout->addWidget(line);
    }
    emptyLayout->addStretch(1);
    stack_->addWidget(empty);
    table_ = new QTableWidget(0, 4);
    table_->setHorizontalHeaderLabels(
        {QString::fromUtf8("讀音"), QString::fromUtf8("字詞"), QString::fromUtf8("次數"), QString()});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    stack_->addWidget(table_);
    layout->addWidget(stack_, 1);

    auto* divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    layout->addWidget(divider);
    auto* footer = new QHBoxLayout;
    count_ = label({}, 13, QFont::Normal, 0.6);
    footer->addWidget(count_);
    footer->addStretch(1);
    footer->addWidget(label(QString::fromUtf8("資料只存在這台電腦"), 13, QFont::Normal, 0.4));
    layout->addLayout(footer);
    status_ = label({}, 12, QFont::Normal, 0.8);
    status_->setWordWrap(true);
    status_->hide();
    layout->addWidget(status_);
    setKind(kinds[0]);
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { syncWithStore(); });
    timer->start(500);
}

void LearnedDataView::syncWithStore() {
    store_->refresh();
    if (store_->version() != listedVersion_) reload();
    for (const StoreNotice& notice : store_->takeNotices()) {
        status_->setText(QString::fromStdString(notice.message));
        status_->show();
    }
}

QString LearnedDataView::statusText() const {
    return status_->isHidden() ? QString() : status_->text();
}

void LearnedDataView::setKind(Kind kind) {
    kind_ = kind;
    int index = static_cast<int>(std::find(std::begin(kinds), std::end(kinds), kind) - std::begin(kinds));
    if (kinds_->currentIndex() != index) kinds_->setCurrentIndex(index);
    note_->setText(QString::fromUtf8(noteOf(kind)));
    reload();
}

void LearnedDataView::setSearch(const QString& search) {
    search_ = search;
    if (searchField_->text() != search) searchField_->setText(search);
    showFiltered();
}

void LearnedDataView::reload() {
    listedVersion_ = store_->version();
    entries_ = store_->entries(kind_);
    showFiltered();
}

QString LearnedDataView::emptyStateTitle() const {
    return shown_.empty() ? emptyTitle_->text() : QString();
}

void LearnedDataView::deleteShown(std::size_t row) {
    if (row >= shown_.size()) return;
    store_->remove(shown_[row]);
    reload();
}

void LearnedDataView::showFiltered() {
    const std::string search = search_.toStdString();
    shown_.clear();
    for (const auto& entry : entries_)
        if (matches(entry, search)) shown_.push_back(entry);
    count_->setText(QString::fromUtf8("共 %1 筆").arg(shown_.size()));
    if (shown_.empty()) {
        emptyTitle_->setText(QString::fromUtf8(search.empty() ? "還沒有學習紀錄" : "找不到符合的項目"));
        emptyDetail_->setText(QString::fromUtf8(search.empty() ? "開始打字之後，這裡會累積你的用字習慣。"
                                                               : "換個關鍵字試試。"));
        stack_->setCurrentIndex(0);
        return;
    }
    table_->setRowCount(static_cast<int>(shown_.size()));
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        const int row = static_cast<int>(i);
        table_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(shown_[i].key)));
        table_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(shown_[i].value)));
        table_->setItem(row, 2, new QTableWidgetItem(QString::number(shown_[i].count)));
        auto* remove = new QToolButton;
        remove->setAutoRaise(true);
        remove->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
        remove->setToolTip(QString::fromUtf8("刪除這筆"));
        // Deleting rebuilds the rows, this button among them: after its click has returned.
        connect(
            remove, &QToolButton::clicked, this, [this, i] { deleteShown(i); }, Qt::QueuedConnection);
        table_->setCellWidget(row, 3, remove);
    }
    stack_->setCurrentIndex(1);
}

LearnedDataWindowController& LearnedDataWindowController::shared() {
    static LearnedDataWindowController* controller = new LearnedDataWindowController; // for the whole process
    return *controller;
}

void LearnedDataWindowController::show(std::shared_ptr<UserPhraseStore> store) {
    if (!window_) {
        window_ = std::make_unique<QWidget>();
        window_->setWindowTitle(QString::fromUtf8("Kelvo學習資料"));
        window_->resize(560, 460);
        auto* layout = new QVBoxLayout(window_.get());
        layout->setContentsMargins(0, 0, 0, 0);
        view_ = new LearnedDataView(std::move(store));
        layout->addWidget(view_);
        platform::centreOnScreen(*window_);
    }
    bringForward(*window_);
}

} // namespace kelvo
