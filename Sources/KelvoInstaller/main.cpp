// The installer carries a complete Kelvo.app in Contents/Resources. Its operations and window are
// not built yet: this entry only names what it carries.
#include "Bundle.hpp"

#include <iostream>

int main() {
    auto installer = kelvo::platform::Bundle::main();
    auto payload = installer
                       ? kelvo::platform::Bundle::at(installer->path / "Contents" / "Resources" / "Kelvo.app")
                       : std::nullopt;
    if (!payload) {
        std::cerr << "KelvoInstaller: no Kelvo.app payload found\n";
        return 1;
    }
    std::cerr << "KelvoInstaller: carries " << payload->identifier << " " << payload->shortVersion << " ("
              << payload->version << "); installing is not available in this build\n";
    return 1;
}
