#include "CandidateStripLayout.hpp"

#include "PanelGeometry.hpp"

#include <cmath>

namespace kelvo::panels {

CandidateStripLayout::~CandidateStripLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

QLayoutItem* CandidateStripLayout::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

std::vector<double> CandidateStripLayout::widths() const {
    std::vector<double> natural;
    for (QLayoutItem* item : items_)
        natural.push_back(item->sizeHint().width());
    return stripWidths(natural, maximumWidth_);
}

QSize CandidateStripLayout::sizeHint() const {
    double width = 0;
    for (double w : widths())
        width += w;
    if (!items_.isEmpty()) width += stripSpacing * (items_.size() - 1);
    QMargins margins = contentsMargins();
    return QSize(static_cast<int>(std::ceil(width)) + margins.left() + margins.right(),
                 static_cast<int>(cellHeight) + margins.top() + margins.bottom());
}

void CandidateStripLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    QRect inner = rect.marginsRemoved(contentsMargins());
    double x = inner.x();
    auto cellWidths = widths();
    for (int i = 0; i < items_.size(); ++i) {
        // Shorter items (the expand control) sit in the middle of the row.
        int height = std::min(items_[i]->sizeHint().height(), static_cast<int>(cellHeight));
        int top = inner.y() + (static_cast<int>(cellHeight) - height) / 2;
        items_[i]->setGeometry(
            QRect(static_cast<int>(std::round(x)), top, static_cast<int>(std::round(cellWidths[i])), height));
        x += cellWidths[i] + stripSpacing;
    }
}

} // namespace kelvo::panels
