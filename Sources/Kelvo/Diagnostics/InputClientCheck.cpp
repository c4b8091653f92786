#include "InputClientCheck.hpp"

#include "SessionBus.hpp"
#include "SyntheticKeys.hpp"
#include "Windows.hpp"
#include "Windows/WindowSupport.hpp"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <iostream>

namespace kelvo {
namespace {

QRect fromBottomLeft(int x, int y, int width, int height) {
    return kelvo::fromBottomLeft(280, x, y, width, height);
}

} // namespace

InputClientCheck::InputClientCheck(platform::InputSourceRegistry& registry, std::string sourceIdentifier,
                                   KeySender send)
    : registry_(registry), sourceIdentifier_(std::move(sourceIdentifier)), send_(std::move(send)),
      window_(std::make_unique<QWidget>()) {
    window_->setWindowTitle(QString::fromUtf8("Kelvo 輸入連線測試"));
    window_->setFixedSize(560, 280);
    text_ = new QPlainTextEdit(window_.get());
    text_->setGeometry(fromBottomLeft(20, 70, 520, 150));
    QFont font = text_->font();
    font.setPixelSize(20);
    text_->setFont(font);
    auto* button = new QPushButton(QString::fromUtf8("測試中文輸入"), window_.get());
    button->setGeometry(fromBottomLeft(20, 230, 180, 30));
    button->setFocusPolicy(Qt::NoFocus); // the text field keeps the keys
    connect(button, &QPushButton::clicked, this, [this] { runCheck(); });
    status_ = new QLabel(QString::fromUtf8("按測試按鈕，驗證Kelvo能組字並送出「你好」。"), window_.get());
    status_->setGeometry(fromBottomLeft(20, 20, 520, 35));
}

InputClientCheck::~InputClientCheck() = default;

const std::deque<InputClientCheck::Event>& InputClientCheck::keys() {
    static const std::deque<Event> events = {{"s", 1},  {"u", 32}, {"3", 20}, {"c", 8},
                                             {"l", 37}, {"3", 20}, {"\r", 36}};
    return events;
}

std::string InputClientCheck::resultLine(const std::string& text, int handled, const std::string& source) {
    return std::string(text == "你好" ? "PASS" : "FAIL") + "：結果「" + text + "」；接收 " +
           std::to_string(handled) + "/7 個按鍵；來源 " + (source.empty() ? "none" : source);
}

void InputClientCheck::show() {
    platform::centreOnScreen(*window_);
    bringForward(*window_);
}

void InputClientCheck::runCheck() {
    window_->activateWindow();
    text_->clear();
    text_->setFocus();
    registry_.select(sourceIdentifier_);
    // What the user taught Kelvo (妳好 chosen once) must not turn the check's 你好 into a failure.
    platform::requestLearnedDataInUse(platform::serverBusName(sourceIdentifier_), false);
    status_->setText(QString::fromUtf8("正在透過 IBus 測試…"));
    handled_ = 0;
    events_ = keys();
    QTimer::singleShot(800, this, [this] { next(); });
}

void InputClientCheck::next() {
    if (events_.empty()) {
        QTimer::singleShot(500, this, [this] { finish(); });
        return;
    }
    Event event = events_.front();
    events_.pop_front();
    if (send_(event)) ++handled_;
    QTimer::singleShot(150, this, [this] { next(); });
}

void InputClientCheck::finish() {
    platform::requestLearnedDataInUse(platform::serverBusName(sourceIdentifier_), true);
    std::string line = resultLine(text_->toPlainText().toStdString(), handled_, registry_.currentSource());
    status_->setText(QString::fromStdString(line));
    std::cout << line << std::endl;
}

int runInputClientCheck(platform::InputSourceRegistry& registry, const std::string& sourceIdentifier) {
    std::unique_ptr<InputClientCheck> check;
    return platform::runWindowApplication([&] {
        check = std::make_unique<InputClientCheck>(
            registry, sourceIdentifier, [](const InputClientCheck::Event& event) {
                return platform::pressKeyThroughXServer(event.characters);
            });
        check->show();
    });
}

} // namespace kelvo
