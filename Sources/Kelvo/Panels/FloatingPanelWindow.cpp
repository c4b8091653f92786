#include "FloatingPanelWindow.hpp"

#include "PanelGeometry.hpp"
#include "Windows.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace kelvo::panels {
namespace {

QPainterPath roundedOutline(const QRect& area, double radius) {
    QPainterPath outline;
    outline.addRoundedRect(QRectF(area), radius, radius);
    return outline;
}

// The panel's rounded body. With a compositing manager the corners are transparent; without one a
// transparent window shows black, so the window is cut to the rounded shape instead.
class PanelBackground : public QWidget {
public:
    explicit PanelBackground(double radius) : radius_(radius), translucent_(platform::compositingActive()) {
        if (translucent_) setAttribute(Qt::WA_TranslucentBackground);
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        if (!translucent_) setMask(QRegion(roundedOutline(rect(), radius_).toFillPolygon().toPolygon()));
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(roundedOutline(rect(), radius_), palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius_, radius_);
    }

private:
    double radius_;
    bool translucent_;
};

} // namespace

FloatingPanelWindow::FloatingPanelWindow(double cornerRadius)
    : window_(std::make_unique<PanelBackground>(cornerRadius)) {
    window_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint);
    window_->setAttribute(Qt::WA_ShowWithoutActivating);
    window_->setFocusPolicy(Qt::NoFocus);
    window_->setWindowTitle("Kelvo");
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FloatingPanelWindow::setContent(QWidget* content) {
    if (content_) {
        content_->hide();
        window_->layout()->removeWidget(content_);
        content_->deleteLater();
    }
    content_ = content;
    window_->layout()->addWidget(content);
    window_->layout()->activate();
}

QSize FloatingPanelWindow::fittingSize() const {
    return content_ ? content_->sizeHint() : QSize(200, 40);
}

void FloatingPanelWindow::showAt(const Rect& frame, int level) {
    frame_ = frame;
    level_ = level;
    Rect topLeft = platform::toTopLeftOrigin(frame);
    window_->setGeometry(qRound(topLeft.x), qRound(topLeft.y), qRound(frame.width), qRound(frame.height));
    window_->show();
    window_->raise();
}

void FloatingPanelWindow::showUnder(const Rect& caret, const std::optional<platform::Screen>& screen,
                                    int clientLevel) {
    QSize size = fittingSize();
    Point origin = panelOrigin(caret, size.width(), size.height(), screen);
    showAt(Rect{origin.x, origin.y, double(size.width()), double(size.height())}, panelLevel(clientLevel));
}

void FloatingPanelWindow::hide() {
    window_->hide();
}

void FloatingPanelWindow::hideFor(const void* owner) {
    if (ownership.release(owner)) hide();
}

} // namespace kelvo::panels
