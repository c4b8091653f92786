#include "WindowSupport.hpp"

#include <QGuiApplication>
#include <QScreen>

namespace kelvo {

QLabel* label(const QString& text, int size, QFont::Weight weight, double alpha) {
    auto* shown = new QLabel(text);
    QFont font = shown->font();
    font.setPixelSize(size);
    font.setWeight(weight);
    shown->setFont(font);
    if (alpha < 1) dim(*shown, alpha);
    return shown;
}

void dim(QWidget& widget, double alpha) {
    QPalette colors = widget.palette();
    QColor color = colors.color(QPalette::WindowText);
    color.setAlphaF(static_cast<float>(alpha));
    colors.setColor(QPalette::WindowText, color);
    widget.setPalette(colors);
}

QRect fromBottomLeft(int windowHeight, int x, int y, int width, int height) {
    return QRect(x, windowHeight - y - height, width, height);
}

QLabel* noteLabel(const char* text, int size) {
    QLabel* note = label(QString::fromUtf8(text), size, QFont::Normal, 0.6);
    note->setWordWrap(true);
    return note;
}

void bringForward(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace kelvo
