// The Kelvo executable: the input method server when started with no argument from its bundle, a
// command-line tool with one.
#include "IBusInputSourceRegistry.hpp"
#include "JsonFileDefaults.hpp"
#include "LexiconStore.hpp"
#include "ProgramEntry.hpp"
#include "SettingKey.hpp"

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
        [] { return false; },
        [&](bool) {
            registerDefaults(defaults);
            LexiconStore::bootstrap(bundle, log);
            std::cerr << "Kelvo: this build has no input method server yet\n";
            return 1;
        },
        [](const std::string& command, const std::optional<std::string>&) {
            std::cerr << "Kelvo: this build has no " << command << " window yet\n";
            return 1;
        },
        true,
    };
    return runProgram(std::vector<std::string>(argv + 1, argv + argc), services);
}
