#pragma once

#include "PersonalData/CustomTextStore.hpp"
#include "SettingKey.hpp"
#include "UserDefaults.hpp"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QTabWidget;

namespace kelvo {

// The preferences window, one per process, kept when closed. Every control writes its key in the
// user defaults at once, so a running input method sees the change at its next key.
class SettingsWindowController {
public:
    static SettingsWindowController& shared();

    std::function<void()> onReset;           // clears the learned data
    std::function<void()> onShowLearnedData; // opens the learned data window
    std::shared_ptr<CustomTextStore> customTexts;
    // Asks whether to clear everything learned; by default the alert.
    std::function<bool()> confirmReset;

    // Builds the window over the defaults on the first call; every call brings it to the front.
    void show(platform::UserDefaults& defaults);
    // Re-reads every shown value: another process may have changed the defaults.
    void refresh();

    QWidget* window() const { return window_.get(); }
    QString previewText() const;

    // The alert asking to clear all learned data.
    static bool askToReset(QWidget* parent);

private:
    SettingsWindowController() = default;
    void build();
    QWidget* generalPane();
    QWidget* textPane();
    QWidget* advancedPane();
    QCheckBox* toggle(SettingKey key, const char* text);
    void reset();

    platform::UserDefaults* defaults_ = nullptr;
    std::unique_ptr<QWidget> window_;
    std::vector<std::pair<SettingKey, QCheckBox*>> toggles_;
    QComboBox* punctuation_ = nullptr;
    QComboBox* pageSize_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* resetDone_ = nullptr;
};

} // namespace kelvo
