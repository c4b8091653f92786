#pragma once

#include "Engine/InputEngine.hpp"
#include "InputClient.hpp"
#include "UserDefaults.hpp"

#include <memory>
#include <optional>

namespace kelvo {

// Connects one client's text field to an engine: key events in, committed and marked text out.
// The Chinese/English mode, the panels and the menu are not built yet: every key goes to the engine.
class KelvoInputController : public platform::InputContextHandler {
public:
    // What every controller of the process shares.
    struct Shared {
        platform::UserDefaults& defaults;
        std::shared_ptr<UserPhraseStore> userPhrases;
        std::shared_ptr<CustomTextStore> customTexts;
    };

    KelvoInputController(platform::InputClient& client, Shared& shared) : client_(client), shared_(shared) {}

    bool handle(const platform::KeyEvent& event) override;
    void activate() override {}
    void deactivate() override { commitComposition(); }
    void commitComposition() override;

    // The engine key an event stands for, if any.
    static std::optional<KeyInput> keyInput(const platform::KeyEvent& event);

private:
    InputEngine* ensureEngine();
    void showMarkedText();

    platform::InputClient& client_;
    Shared& shared_;
    std::unique_ptr<InputEngine> engine_;
};

} // namespace kelvo
