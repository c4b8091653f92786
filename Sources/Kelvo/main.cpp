// The Kelvo executable: the input method server when started with no argument from its bundle, a
// command-line tool with one.
#include "IBusInputSourceRegistry.hpp"
#include "InputMethodRuntime.hpp"
#include "JsonFileDefaults.hpp"
#include "ProgramEntry.hpp"

#include <iostream>

namespace {

constexpr const char* defaultIdentifier = "org.kelvo.inputmethod.Kelvo";

} // namespace

int main(int argc, char** argv) {
    using namespace kelvo;
    auto bundle = platform::Bundle::main();
    platform::SystemLogger log(bundle ? bundle->identifier : defaultIdentifier);
    platform::IBusInputSourceRegistry registry;
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
            return runWindowCommand(command, argument, bundle, registry);
        },
        true,
    };
    return runProgram(std::vector<std::string>(argv + 1, argv + argc), services);
}
