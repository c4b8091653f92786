#pragma once

#include "InstallerModel.hpp"

#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace kelvo::installer {

// The installer's one window content: a header with the versions, the page of the model (update,
// guide or remove), the progress row while busy and the last message.
class InstallerView : public QWidget {
public:
    explicit InstallerView(InstallerModel& model);
    // Redraws from the model.
    void refresh();

    QString title() const;
    QString messageText() const;
    bool messageIsRed() const;
    bool showsServiceNote() const;
    QPushButton* button(const char* text) const;

private:
    QWidget* updatePage();
    QWidget* guidePage();
    QWidget* removePage();

    InstallerModel& model_;
    QLabel* symbol_;
    QLabel* title_;
    QLabel* subtitle_;
    QLabel* caption_;
    QPushButton* settings_;
    QStackedWidget* pages_;
    QPushButton* remove_;
    QLabel* serviceNote_;
    QWidget* busyRow_;
    QLabel* message_;
};

// A dark palette for the installer application.
void applyDarkAppearance();

} // namespace kelvo::installer
