#include "CandidateView.hpp"

#include "CandidateStripLayout.hpp"
#include "PanelGeometry.hpp"
#include "Windows/WindowSupport.hpp"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace kelvo::panels {
namespace {

constexpr int cellPadding = 6;
constexpr int labelGap = 4;

QColor secondaryColor(const QPalette& palette) {
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.55f);
    return color;
}

// The chevron control that opens or closes the grid.
QToolButton* chevron(bool down, const char* accessibleName, std::function<void()> action) {
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setArrowType(down ? Qt::DownArrow : Qt::UpArrow);
    button->setIconSize(QSize(11, 11));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(QString::fromUtf8(accessibleName));
    QObject::connect(button, &QToolButton::clicked, button, std::move(action));
    return button;
}

} // namespace

QFont systemFont(int size, QFont::Weight weight) {
    QFont font = QApplication::font();
    font.setPixelSize(size);
    font.setWeight(weight);
    return font;
}

QString shownValue(const QString& value, const QFontMetricsF& metrics, double room) {
    // Measured on another device, or rounded to whole pixels at a fractional scale, a value may come
    // out a fraction wider than the cell that was sized for it: the padding takes that in.
    if (metrics.horizontalAdvance(value) <= room) return value;
    return metrics.elidedText(value, Qt::ElideRight, room);
}

double naturalCandidateWidth(const std::string& value) {
    return QFontMetricsF(systemFont(16)).horizontalAdvance(QString::fromStdString(value)) + 28;
}

CandidateCell::CandidateCell(const InputEngine::SheetView::Item& item, bool highlighted)
    : label_(QString::fromStdString(item.label)), value_(QString::fromStdString(item.value)),
      highlighted_(highlighted) {
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(value_);
    setCursor(Qt::PointingHandCursor);
}

QSize CandidateCell::sizeHint() const {
    double width = 2 * cellPadding + QFontMetricsF(systemFont(16)).horizontalAdvance(value_);
    if (!label_.isEmpty()) width += QFontMetricsF(systemFont(10)).horizontalAdvance(label_) + labelGap;
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(cellHeight));
}

void CandidateCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colors = palette();
    if (highlighted_) {
        QPainterPath background;
        background.addRoundedRect(QRectF(rect()), 7, 7);
        painter.fillPath(background, colors.color(QPalette::Highlight));
    }
    QRectF area = QRectF(rect()).adjusted(cellPadding, 0, -cellPadding, 0);
    if (!label_.isEmpty()) {
        QColor labelColor = highlighted_ ? QColor(255, 255, 255, 204) : secondaryColor(colors);
        painter.setFont(systemFont(10));
        painter.setPen(labelColor);
        QRectF used;
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, label_, &used);
        area.setLeft(used.right() + labelGap);
    }
    painter.setFont(systemFont(16));
    painter.setPen(highlighted_ ? QColor(Qt::white) : colors.color(QPalette::WindowText));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     shownValue(value_, QFontMetricsF(painter.font(), this), area.width() + cellPadding));
}

CandidateView::CandidateView(const InputEngine::SheetView& sheet, double itemWidth, double maximumWidth,
                             std::function<void(int)> onSelect, std::function<void(bool)> onExpand)
    : onSelect_(std::move(onSelect)), onExpand_(std::move(onExpand)) {
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(4);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (!sheet.expanded) {
        layout->addWidget(strip(sheet, maximumWidth));
        return;
    }
    auto* header = new QHBoxLayout;
    auto* hint = new QLabel(QString::fromUtf8("← → 選字 · ↑ ↓ 換列 · 數字選本頁"));
    hint->setFont(systemFont(10));
    dim(*hint, 0.55);
    header->addWidget(hint);
    header->addStretch(1);
    header->addWidget(chevron(false, "收合候選", [this] {
        if (onExpand_) onExpand_(false);
    }));
    layout->addLayout(header);
    layout->addWidget(grid(sheet, itemWidth));
}

CandidateCell* CandidateView::cell(const InputEngine::SheetView::Item& item, bool highlighted) {
    auto* button = new CandidateCell(item, highlighted);
    int index = item.index;
    connect(button, &QAbstractButton::clicked, this, [this, index] {
        if (onSelect_) onSelect_(index);
    });
    cells_.push_back(button);
    return button;
}

QWidget* CandidateView::strip(const InputEngine::SheetView& sheet, double maximumWidth) {
    auto* row = new QWidget;
    auto* layout = new CandidateStripLayout(maximumWidth);
    layout->setContentsMargins(6, 0, 6, 0);
    row->setLayout(layout);
    for (std::size_t i = 0; i < sheet.items.size(); ++i)
        layout->addWidget(cell(sheet.items[i], static_cast<int>(i) == sheet.highlightedInPage));
    if (sheet.pageCount >= 2) {
        auto* expand = chevron(true, "展開更多候選", [this] {
            if (onExpand_) onExpand_(true);
        });
        expand->setToolTip(QString::fromUtf8("展開更多候選（↓）"));
        layout->addWidget(expand);
    }
    return row;
}

QWidget* CandidateView::grid(const InputEngine::SheetView& sheet, double itemWidth) {
    const int columns = std::max(sheet.columns, 1);
    const int count = static_cast<int>(sheet.items.size());
    const int rows = (count + columns - 1) / columns;
    auto* content = new QWidget;
    auto* layout = new QGridLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CandidateCell* highlighted = nullptr;
    for (int i = 0; i < count; ++i) {
        CandidateCell* button = cell(sheet.items[static_cast<std::size_t>(i)], i == sheet.highlightedInPage);
        button->setFixedSize(static_cast<int>(std::round(itemWidth)), static_cast<int>(cellHeight));
        layout->addWidget(button, i / columns, i % columns);
        if (button->isHighlighted()) highlighted = button;
    }
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(content);
    scroller->setFixedSize(static_cast<int>(std::round((itemWidth + 2) * columns + 12)),
                           std::min(30 * rows, 240));
    content->adjustSize();
    layout->activate();
    if (highlighted) {
        // The row of the highlight is scrolled into view now, before the panel is first drawn; the
        // scroll bar's range is only known once the area is laid out, so it is set from the rows.
        const int rowHeight = static_cast<int>(cellHeight) + layout->verticalSpacing();
        const int row = sheet.highlightedInPage / columns;
        const int visibleRows = std::max(1, scroller->height() / rowHeight);
        auto* bar = scroller->verticalScrollBar();
        bar->setRange(0, std::max(0, content->height() - scroller->height()));
        bar->setValue(std::max(0, (row - visibleRows + 1) * rowHeight));
    }
    return scroller;
}

} // namespace kelvo::panels
