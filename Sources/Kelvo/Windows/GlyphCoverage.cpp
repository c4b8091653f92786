#include "GlyphCoverage.hpp"

#include <QAbstractButton>
#include <QComboBox>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTextLayout>

namespace kelvo {
namespace {

// Each shown text with the font it is drawn in.
std::vector<std::pair<QString, QFont>> textsWithFonts(const QWidget& window) {
    std::vector<std::pair<QString, QFont>> texts;
    auto add = [&](const QString& text, const QFont& font) {
        if (!text.isEmpty()) texts.emplace_back(text, font);
    };
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(widget)) add(label->text(), label->font());
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) add(button->text(), button->font());
        if (auto* group = qobject_cast<QGroupBox*>(widget)) add(group->title(), group->font());
        if (auto* field = qobject_cast<QLineEdit*>(widget)) add(field->placeholderText(), field->font());
        if (auto* tabs = qobject_cast<QTabBar*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                add(tabs->tabText(i), tabs->font());
        if (auto* choices = qobject_cast<QComboBox*>(widget))
            for (int i = 0; i < choices->count(); ++i)
                add(choices->itemText(i), choices->font());
        if (auto* table = qobject_cast<QTableWidget*>(widget)) {
            for (int column = 0; column < table->columnCount(); ++column)
                if (auto* header = table->horizontalHeaderItem(column)) add(header->text(), table->font());
            for (int row = 0; row < table->rowCount(); ++row)
                for (int column = 0; column < table->columnCount(); ++column)
                    if (auto* item = table->item(row, column)) add(item->text(), table->font());
        }
    }
    return texts;
}

} // namespace

bool glyphsCover(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        for (quint32 glyph : run.glyphIndexes())
            if (glyph == 0) return false;
    return true;
}

QStringList textsWithoutGlyphs(const QWidget& window) {
    QStringList missing;
    for (const auto& [text, font] : textsWithFonts(window)) {
        QString drawn = text;
        drawn.remove('\n'); // line breaks are not drawn
        if (!glyphsCover(drawn, font)) missing << text;
    }
    return missing;
}

QStringList shownTexts(const QWidget& window) {
    QStringList texts;
    for (const auto& [text, font] : textsWithFonts(window))
        texts << text;
    return texts;
}

} // namespace kelvo
