#pragma once

#include "InputClient.hpp"

#include <fcitx/action.h>
#include <fcitx/inputcontextproperty.h>
#include <fcitx/inputmethodengine.h>
#include <fcitx/instance.h>
#include <map>
#include <memory>
#include <string>

namespace kelvo::platform {

class Fcitx5ContextState;

// The host's input method as a Fcitx5 engine, in the Fcitx5 process: one handler per input context,
// made by the factory when the context first meets the engine. Candidates go to Fcitx5's own list
// (the user's theme draws it), notes to its auxiliary text, the menu to its actions.
class Fcitx5Engine : public fcitx::InputMethodEngineV2 {
public:
    Fcitx5Engine(fcitx::Instance* instance, HandlerFactory makeHandler);
    ~Fcitx5Engine() override;

    void keyEvent(const fcitx::InputMethodEntry& entry, fcitx::KeyEvent& event) override;
    void activate(const fcitx::InputMethodEntry& entry, fcitx::InputContextEvent& event) override;
    void deactivate(const fcitx::InputMethodEntry& entry, fcitx::InputContextEvent& event) override;
    void reset(const fcitx::InputMethodEntry& entry, fcitx::InputContextEvent& event) override;

    // The action that stands for a menu item, made on first use.
    fcitx::Action* actionFor(const std::string& key, const std::string& label);
    Fcitx5ContextState& stateOf(fcitx::InputContext& context);

protected:
    // Ends every context's handler: an owner that made them calls it before what they use is gone.
    void dropHandlers();

private:
    // Hands a key event to the context's handler; true when it was consumed.
    bool deliver(fcitx::KeyEvent& event);

    fcitx::Instance* instance_;
    HandlerFactory makeHandler_;
    fcitx::FactoryFor<Fcitx5ContextState> states_;
    std::map<std::string, std::unique_ptr<fcitx::SimpleAction>> actions_;
    std::unique_ptr<fcitx::HandlerTableEntry<fcitx::EventHandler>> shiftWatcher_;
};

} // namespace kelvo::platform
