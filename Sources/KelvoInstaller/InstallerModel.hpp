#pragma once

#include "InstallerOperations.hpp"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QMessageBox;

namespace kelvo::installer {

enum class InstallerPage { update, remove, guide };

// What the installer window shows, and the operations behind its buttons. Installing and removing
// run on a background thread; every field changes on the main thread, and `busy` keeps a second
// operation from starting while one runs.
class InstallerModel : public QObject {
public:
    explicit InstallerModel(std::shared_ptr<InstallerOperations> ops);

    std::optional<InstallerPage> page = InstallerPage::update;
    bool busy = false;
    std::string message;
    bool failed = false;
    std::optional<std::string> installed;
    std::string packageVersion;

    // Called after every change of a field.
    std::function<void()> onChange;
    // Asks whether to remove Kelvo; by default the alert.
    std::function<bool()> confirmRemoval;
    // Starts a program without waiting (opening the desktop's settings).
    std::function<bool(const std::vector<std::string>&)> startProgram;

    void install();
    void remove();
    void openKeyboard();
    void openInputSettings();

    // The alert that asks before removing; "取消" is its default button.
    static std::unique_ptr<QMessageBox> removalAlert();
    static bool askToRemove();

private:
    // Runs `work` on a background thread, then `done` with its error text (empty on success) on
    // the main thread.
    void inBackground(std::function<std::string()> work,
                      std::function<void(bool ok, const std::string&)> done);
    void changed();

    std::shared_ptr<InstallerOperations> ops_;
};

// The command that opens the desktop's keyboard and input source settings.
std::vector<std::string> keyboardSettingsCommand();

} // namespace kelvo::installer
