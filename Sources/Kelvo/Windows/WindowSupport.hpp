#pragma once

#include <QLabel>
#include <QWidget>

namespace kelvo {

// A wrapping note in a smaller, dimmer type.
QLabel* noteLabel(const char* text, int size = 12);

// A label in the system font at a size, optionally in a dimmer colour (alpha 0 to 1).
QLabel* label(const QString& text, int size, QFont::Weight weight = QFont::Normal, double alpha = 1);

// Draws a widget's text in its colour at a lower opacity (0 to 1): the secondary colour.
void dim(QWidget& widget, double alpha);

// A rectangle given in a window's y-up coordinates, as Qt places it (y down).
QRect fromBottomLeft(int windowHeight, int x, int y, int width, int height);

// Shows a window, or brings it to the front when it is already shown.
void bringForward(QWidget& window);

} // namespace kelvo
