// kelvo-seal sign|verify BUNDLE: writes or checks the seal of an application bundle.
#include "Seal.hpp"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "sign") != 0 && std::strcmp(argv[1], "verify") != 0)) {
        std::cerr << "usage: kelvo-seal sign|verify BUNDLE\n";
        return 1;
    }
    using namespace kelvo::platform::seal;
    Result result = std::strcmp(argv[1], "sign") == 0 ? sign(argv[2]) : verify(argv[2]);
    (result.ok ? std::cout : std::cerr) << "kelvo-seal: " << result.message << "\n";
    return result.ok ? 0 : 1;
}
