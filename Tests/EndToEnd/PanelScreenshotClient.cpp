// A real Qt text field on an X display with IBus: types h k 4 g 4 and Down through the X server, then
// takes a screenshot and checks that the candidate panel lies under the caret with its first cell
// highlighted; then clicks the second cell and presses Return, which must commit that other
// candidate while the field keeps the keyboard. Prints what it found; exits 0 when all held.
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
            QRectF caret = QGuiApplication::inputMethod()->cursorRectangle();
            QPoint caretTop = field.window()->mapToGlobal(caret.topLeft().toPoint());
            QPoint caretBottom = field.window()->mapToGlobal(caret.bottomLeft().toPoint());
            QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
            screen.save(QString::fromLocal8Bit(argv[1]));
            QColor accent = field.palette().color(QPalette::Highlight);
            QRect below(caretTop.x() - 20, caretBottom.y(), 400, 80);
            QRect highlight = accentBox(screen, below, accent);
            std::printf("text %s caret (%d, %d)-(%d) highlight (%d, %d) %dx%d\n",
                        field.text().toUtf8().constData(), caretTop.x(), caretTop.y(), caretBottom.y(),
                        highlight.x(), highlight.y(), highlight.width(), highlight.height());
            // The panel's top is 6 points under the line, its first cell 5 + 0 further in; the
            // cell's left edge is 5 + 6 points right of the caret.
            bool placed = !highlight.isEmpty() && highlight.top() >= caretBottom.y() + 6 &&
                          highlight.top() <= caretBottom.y() + 6 + 12 &&
                          highlight.left() >= caretTop.x() + 5 && highlight.left() <= caretTop.x() + 16 &&
                          highlight.height() >= 20;
            if (!placed) {
                application.quit();
                return;
            }
            // The second cell starts past the first and the 2 points between them.
            kelvo::platform::clickThroughXServer(highlight.right() + 12, highlight.center().y());
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
