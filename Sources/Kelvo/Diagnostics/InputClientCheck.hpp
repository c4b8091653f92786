#pragma once

#include "InputSourceRegistry.hpp"

#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace kelvo {

// A real text field that selects Kelvo and receives ㄋㄧˇ ㄏㄠˇ and Return as key presses sent
// through the display server, so they travel the whole input path; it reports whether "你好" arrived.
class InputClientCheck : public QObject {
public:
    struct Event {
        std::string characters;
        std::uint16_t keyCode;
    };
    // Sends one key as a keyboard would; false when it cannot.
    using KeySender = std::function<bool(const Event&)>;

    InputClientCheck(platform::InputSourceRegistry& registry, std::string sourceIdentifier, KeySender send);
    ~InputClientCheck() override;

    void show();
    void runCheck();
    // The seven keys, in order.
    static const std::deque<Event>& keys();
    // The result line, as shown and printed.
    static std::string resultLine(const std::string& text, int handled, const std::string& source);

private:
    void next();
    void finish();

    platform::InputSourceRegistry& registry_;
    std::string sourceIdentifier_;
    KeySender send_;
    std::unique_ptr<QWidget> window_;
    QPlainTextEdit* text_;
    QLabel* status_;
    std::deque<Event> events_;
    int handled_ = 0;
};

// Runs the check's window until the user quits; answers the exit status.
int runInputClientCheck(platform::InputSourceRegistry& registry, const std::string& sourceIdentifier);

} // namespace kelvo
