// A real Qt text field on an X display with IBus: types h k 4 g 4 and Down through the X server, then
// takes a screenshot and checks that the candidate panel lies under the caret with its first cell
// highlighted (at the input method's scale, KELVO_PANEL_SCALE); then clicks the second cell and
// presses Return, which must commit that other candidate while the field keeps the keyboard. Prints
// what it found; exits 0 when all held.
// usage: panel-screenshot-client SCREENSHOT.png
#include "SyntheticKeys.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QInputMethod>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

// The bounding box of the pixels in the accent colour, inside a region.
QRect accentBox(const QImage& image, const QRect& region, QColor accent) {
    QRect box;
    for (int y = std::max(region.top(), 0); y <= std::min(region.bottom(), image.height() - 1); ++y)
        for (int x = std::max(region.left(), 0); x <= std::min(region.right(), image.width() - 1); ++x)
            if (image.pixelColor(x, y).rgb() == accent.rgb()) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    QApplication application(argc, argv);
    QLineEdit field;
    field.setGeometry(100, 120, 400, 40);
    field.show();
    field.activateWindow();
    field.setFocus();
    int status = 1;
    QTimer::singleShot(1000, [&] {
        for (const char* key : {"h", "k", "4", "g", "4", "Down"}) {
            kelvo::platform::pressKeyThroughXServer(key);
            QElapsedTimer typing; // at a brisk typist's pace
            typing.start();
            while (typing.elapsed() < 80)
                QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QTimer::singleShot(1500, [&] {
            // The screenshot is in the screen's pixels. The panel's distances are in the input
            // method's points, which are KELVO_PANEL_SCALE pixels each.
            const char* panelScale = std::getenv("KELVO_PANEL_SCALE");
            const double scale = panelScale ? std::atof(panelScale) : 1.0;
            // The caret in the screen's pixels: the field's own points are devicePixelRatio pixels.
            QRectF caret = QGuiApplication::inputMethod()->cursorRectangle();
            const double ratio = field.devicePixelRatioF();
            QPoint caretTop = field.window()->mapToGlobal(caret.topLeft().toPoint()) * ratio;
            QPoint caretBottom = field.window()->mapToGlobal(caret.bottomLeft().toPoint()) * ratio;
            auto points = [scale](int logical) { return static_cast<int>(logical * scale); };
            QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
            screen.save(QString::fromLocal8Bit(argv[1]));
            QColor accent = field.palette().color(QPalette::Highlight);
            QRect below(caretTop.x() - points(20), caretBottom.y(), points(400), points(80));
            QRect highlight = accentBox(screen, below, accent);
            std::printf("text %s caret (%d, %d)-(%d) highlight (%d, %d) %dx%d\n",
                        field.text().toUtf8().constData(), caretTop.x(), caretTop.y(), caretBottom.y(),
                        highlight.x(), highlight.y(), highlight.width(), highlight.height());
            // The panel's top is 6 points under the line, its first cell 5 + 0 further in; the
            // cell's left edge is 5 + 6 points right of the caret.
            bool placed = !highlight.isEmpty() && highlight.top() >= caretBottom.y() + points(6) - 1 &&
                          highlight.top() <= caretBottom.y() + points(6 + 12) &&
                          highlight.left() >= caretTop.x() + points(5) - 1 &&
                          highlight.left() <= caretTop.x() + points(16) && highlight.height() >= points(20);
            if (!placed) {
                application.quit();
                return;
            }
            // The second cell starts past the first and the 2 points between them.
            kelvo::platform::clickThroughXServer(highlight.right() + points(12), highlight.center().y());
            QTimer::singleShot(700, [&] {
                kelvo::platform::pressKeyThroughXServer("\r");
                QTimer::singleShot(700, [&] {
                    const QString committed = field.text();
                    std::printf("after clicking the second cell: %s\n", committed.toUtf8().constData());
                    status =
                        !committed.isEmpty() && committed != QString::fromUtf8("測試") && field.hasFocus()
                            ? 0
                            : 1;
                    application.quit();
                });
            });
        });
    });
    application.exec();
    return status;
}
