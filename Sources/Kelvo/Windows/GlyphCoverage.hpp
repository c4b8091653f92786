#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

namespace kelvo {

// True when the font, with its fallbacks, has a glyph for every character: fontconfig silently
// draws an empty box otherwise.
bool glyphsCover(const QString& text, const QFont& font);

// The texts a window shows (labels, buttons, tabs, choices, placeholders) that its fonts cannot draw.
QStringList textsWithoutGlyphs(const QWidget& window);

// Every text a window shows, in the order of its widgets.
QStringList shownTexts(const QWidget& window);

} // namespace kelvo
