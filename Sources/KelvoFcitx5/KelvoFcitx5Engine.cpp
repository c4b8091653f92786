// Kelvo as a Fcitx5 addon: the same input controller as under IBus, in the Fcitx5 process, with the
// dictionary and the user's files of the system-wide installation.
#include "Bundle.hpp"
#include "ChildProcess.hpp"
#include "Fcitx5Engine.hpp"
#include "InputMethodServices.hpp"
#include "JsonFileDefaults.hpp"
#include "LexiconStore.hpp"

#include <fcitx/addonfactory.h>
#include <fcitx/addonmanager.h>

namespace kelvo {
namespace {

constexpr const char* identifier = "org.kelvo.inputmethod.Kelvo";

// The folder this addon was loaded from.
std::filesystem::path addonFolder() {
    return platform::libraryContaining(reinterpret_cast<const void*>(&addonFolder)).parent_path();
}

class KelvoFcitx5Engine : public platform::Fcitx5Engine {
public:
    explicit KelvoFcitx5Engine(fcitx::Instance* instance)
        : platform::Fcitx5Engine(instance, [this](platform::InputClient& client) {
              return std::make_unique<KelvoInputController>(client, services_.shared());
          }) {
        LexiconStore::bootstrap(
            platform::Bundle::installedAt((addonFolder() / KELVO_DATA_FROM_ADDON).lexically_normal()), log_);
        // Windows run as programs of their own: Fcitx5's process shows none.
        const std::string program =
            (addonFolder() / KELVO_LIBEXEC_FROM_ADDON / "kelvo").lexically_normal().string();
        services_.shared().showSettings = [program] { platform::startChild({program, "settings-window"}); };
        services_.shared().openWindow = [program](const std::string& window) {
            platform::startChild({program, window});
        };
        log_.log(platform::Logger::Level::standard, "Fcitx5 engine ready");
    }
    ~KelvoFcitx5Engine() override { dropHandlers(); } // they use the stores below

private:
    platform::SystemLogger log_{identifier};
    platform::JsonFileDefaults defaults_{platform::JsonFileDefaults::standardLocation()};
    InputMethodServices services_{defaults_, log_};
};

class KelvoFcitx5Factory : public fcitx::AddonFactory {
public:
    fcitx::AddonInstance* create(fcitx::AddonManager* manager) override {
        return new KelvoFcitx5Engine(manager->instance());
    }
};

} // namespace
} // namespace kelvo

FCITX_ADDON_FACTORY(kelvo::KelvoFcitx5Factory)
