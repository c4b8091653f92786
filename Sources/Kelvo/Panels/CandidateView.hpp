#pragma once

#include "Engine/InputEngine.hpp"

#include <QAbstractButton>
#include <QWidget>
#include <functional>

namespace kelvo::panels {

// The system font at a size in points (pixels on screen).
QFont systemFont(int size, QFont::Weight weight = QFont::Normal);

// The value as drawn in `room` points: whole when it fits, else cut with an ellipsis.
QString shownValue(const QString& value, const QFontMetricsF& metrics, double room);

// A candidate's natural width: its value in the 16-point system font, plus 28.
double naturalCandidateWidth(const std::string& value);

// One candidate: its label and value on a rounded background, filled with the accent colour when
// highlighted. The whole cell is clickable.
class CandidateCell : public QAbstractButton {
public:
    CandidateCell(const InputEngine::SheetView::Item& item, bool highlighted);
    QSize sizeHint() const override;
    bool isHighlighted() const { return highlighted_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString label_;
    QString value_;
    bool highlighted_;
};

// The content of the candidate panel: the current page as one strip (collapsed, with an expand
// control when there are more pages), or every candidate in a scrolling grid (expanded).
class CandidateView : public QWidget {
public:
    CandidateView(const InputEngine::SheetView& sheet, double itemWidth, double maximumWidth,
                  std::function<void(int)> onSelect, std::function<void(bool)> onExpand);

    const std::vector<CandidateCell*>& cells() const { return cells_; }

private:
    QWidget* strip(const InputEngine::SheetView& sheet, double maximumWidth);
    QWidget* grid(const InputEngine::SheetView& sheet, double itemWidth);
    CandidateCell* cell(const InputEngine::SheetView::Item& item, bool highlighted);

    std::function<void(int)> onSelect_;
    std::function<void(bool)> onExpand_;
    std::vector<CandidateCell*> cells_;
};

} // namespace kelvo::panels
