// The Kelvo executable: the input method server when started with no argument from its bundle, a
// command-line tool with one.
#include "IBusInputSourceRegistry.hpp"
#include "InputMethodRuntime.hpp"
#include "JsonFileDefaults.hpp"
#include "ProgramEntry.hpp"

#include <iostream>
#include <unistd.h>

namespace {

constexpr const char* defaultIdentifier = "org.kelvo.inputmethod.Kelvo";

} // namespace

int main(int argc, char** argv) {
    using namespace kelvo;
    auto bundle = platform::Bundle::main(KELVO_DATA_FROM_EXECUTABLE);
    platform::SystemLogger log(bundle ? bundle->identifier : defaultIdentifier);
    platform::IBusInputSourceRegistry registry;
    // A copy the user installed and registered for their session wins over the system-wide one.
    if (argc == 1 && bundle && bundle->systemWide)
        if (auto own = registry.registeredUserCopy()) {
            execv(own->c_str(), argv);
            log.log(platform::Logger::Level::error, "cannot start the user's own copy " + own->string());
        }
    platform::JsonFileDefaults defaults(platform::JsonFileDefaults::standardLocation());
    ProgramServices services{
        bundle,
        std::cout,
        std::cerr,
        registry,
        defaults,
        log,
        [&] { return bundle && InputMethodRuntime::requestSettings(bundle->identifier); },
        [&](bool requestsSettings) {
            return InputMethodRuntime(*bundle, defaults, log).run(requestsSettings);
        },
        [&](const std::string& command, const std::optional<std::string>& argument) {
            return runWindowCommand(command, argument, bundle, registry, defaults);
        },
        true,
    };
    return runProgram(std::vector<std::string>(argv + 1, argv + argc), services);
}
