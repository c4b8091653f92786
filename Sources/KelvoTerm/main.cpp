// kelvo-term: Kelvo in a terminal, interactively or typing key scripts in batch.
#include "Batch.hpp"
#include "Interactive.hpp"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <unistd.h>

namespace {

constexpr const char* usage =
    "usage: kelvo-term [batch] [--page-size N] [--punctuation smart|chinese|english] [--no-english-hint]\n"
    "                  [--no-automatic-english] [--no-learning] [--custom-text]\n"
    "                  [--spaces none|cn-en,cn-num,en-num] [--user-data DIR] [--dictionary FILE] "
    "[--timing]\n";

} // namespace

int main(int argc, char** argv) {
    using namespace kelvo::term;
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            std::cout << usage;
            return 0;
        }
    Invocation invocation = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!invocation.error.empty()) {
        std::cerr << "kelvo-term: " << invocation.error << "\n" << usage;
        return 1;
    }
    const TermSettings& settings = invocation.settings;
    if (!invocation.batch && !::isatty(STDIN_FILENO)) {
        std::cerr
            << "kelvo-term: standard input is not a terminal; to type key scripts use 'kelvo-term batch'\n";
        return 1;
    }
    // Batch runs start without learned data unless a folder is named; interactive use has the
    // user's own files.
    auto userData = settings.userData;
    if (!invocation.batch && !userData) userData = defaultUserDataFolder();
    try {
        auto start = std::chrono::steady_clock::now();
        SharedResources resources = SharedResources::load(settings, userData);
        if (settings.timing)
            std::cerr
                << "startup_ms="
                << std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count()
                << " entries=" << resources.lexicon->entryCount()
                << " words=" << (resources.englishDetector ? resources.englishDetector->words().size() : 0)
                << "\n";
        if (invocation.batch) return runBatch(std::cin, std::cout, std::cerr, resources, settings);
        return runInteractive(resources, settings);
    } catch (const kelvo::LexiconError& error) {
        std::cerr << "kelvo-term: " << error.what() << "\n";
        return 1;
    }
}
