#pragma once

// Helpers for the windows drawn off-screen: finding their buttons and labels, answering their
// alerts, and photographing them into Testing/windows.
#include "../../Support/TemporaryFolder.hpp"
#include "Diagnostics/CandidatePreview.hpp"
#include "JsonFileDefaults.hpp"
#include "Panels/CandidatePanel.hpp"
#include "Panels/CandidateView.hpp"
#include "Panels/CompositionPanel.hpp"
#include "Windows.hpp"
#include "Windows/GlyphCoverage.hpp"
#include "Windows/GuideWindowController.hpp"
#include "Windows/LearnedDataWindowController.hpp"
#include "Windows/SettingsWindowController.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace kelvo::testing {

inline int countOf(const QStringList& texts, const char* text) {
    return static_cast<int>(texts.count(QString::fromUtf8(text)));
}

inline QAbstractButton* buttonNamed(QWidget* window, const char* text) {
    for (auto* button : window->findChildren<QAbstractButton*>())
        if (button->text() == QString::fromUtf8(text)) return button;
    return nullptr;
}

inline int windowsTitled(const char* title) {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowTitle() == QString::fromUtf8(title) && widget->isVisible()) ++count;
    return count;
}

// Saves what a window shows, for a person to look at; the test run keeps it out of the sources.
// Pictures taken at a display scale (QT_SCALE_FACTOR) carry it in their name.
inline void photograph(QWidget& window, const std::string& name) {
    std::filesystem::create_directories(KELVO_SCREENSHOT_DIR);
    const QString scale = QString::number(qApp->devicePixelRatio());
    window.grab().save(QString::fromStdString(std::string(KELVO_SCREENSHOT_DIR) + "/" + name) + "-scale" +
                       scale + ".png");
}

// Answers the next alert that opens with the button of that text.
inline void answerAlert(const char* button) {
    QTimer::singleShot(0, [button] {
        auto* alert = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->text(), QString::fromUtf8("清除全部學習資料？"));
        buttonNamed(alert, button)->click();
    });
}

} // namespace kelvo::testing
