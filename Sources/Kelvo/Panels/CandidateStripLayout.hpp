#pragma once

#include <QLayout>
#include <QList>

namespace kelvo::panels {

// One row of cells, 2 points apart, top-aligned, each as wide as its content until the row would
// exceed `maximumWidth`; then the longest cells are capped at a common width.
class CandidateStripLayout : public QLayout {
public:
    explicit CandidateStripLayout(double maximumWidth) : maximumWidth_(maximumWidth) { setSpacing(2); }
    ~CandidateStripLayout() override;

    void addItem(QLayoutItem* item) override { items_.append(item); }
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override { return sizeHint(); }
    void setGeometry(const QRect& rect) override;

private:
    std::vector<double> widths() const;

    double maximumWidth_;
    QList<QLayoutItem*> items_;
};

} // namespace kelvo::panels
