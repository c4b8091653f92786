// The simulated user over an evaluation file: a fresh user-data folder, the default settings with
// learning on, and two passes over the file. Prints the figures of each pass, and with --json
// writes them as {"pass1": {...}, "pass2": {...}}; with --wrong lists each clause not right as typed:
// what its keys gave, what was committed, how many corrections it took and whether the candidate
// lists could not fix it.
#include "Session.hpp"
#include "SimulatedUser.hpp"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

using kelvo::bench::Clause;
using kelvo::bench::PassFigures;

// Clauses of a TAB-separated file: the text first, the keys last.
std::vector<Clause> readClauses(std::istream& input) {
    std::vector<Clause> clauses;
    std::string line;
    while (std::getline(input, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with('#')) continue;
        const auto firstTab = line.find('\t'), lastTab = line.rfind('\t');
        if (firstTab == std::string::npos) continue;
        clauses.push_back({line.substr(0, firstTab), line.substr(lastTab + 1)});
    }
    return clauses;
}

nlohmann::json jsonOf(const PassFigures& figures) {
    return {{"clauses", figures.clauses},
            {"right_as_typed", figures.rightAsTyped},
            {"corrections_per_100_chars", figures.correctionsPer100Characters()},
            {"keys_per_char", figures.keysPerCharacter()},
            {"floor_keys_per_char", figures.floorKeysPerCharacter()},
            {"failed_clauses", figures.failedClauses},
            {"committed_char_accuracy", figures.committedCharacterAccuracy()}};
}

void print(const char* name, const PassFigures& figures) {
    std::cout << name << ": right as typed " << figures.rightAsTyped << " of " << figures.clauses
              << ", corrections/100 chars " << figures.correctionsPer100Characters() << ", keys/char "
              << figures.keysPerCharacter() << " (floor " << figures.floorKeysPerCharacter() << ", "
              << figures.keysPerCharacter() / figures.floorKeysPerCharacter() << " x floor), failed clauses "
              << figures.failedClauses << ", committed char accuracy " << figures.committedCharacterAccuracy()
              << "\n";
}

} // namespace

int main(int argc, char** argv) {
    std::string file, jsonOut;
    bool listWrong = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--json" && i + 1 < argc)
            jsonOut = argv[++i];
        else if (argument == "--wrong")
            listWrong = true;
        else if (file.empty() && !argument.starts_with("--"))
            file = argument;
        else {
            std::cerr << "usage: simulated-user FILE [--json OUT] [--wrong]\n";
            return 2;
        }
    }
    std::ifstream input(file);
    if (file.empty() || !input) {
        std::cerr << "simulated-user: cannot read " << (file.empty() ? "a file" : file)
                  << "\nusage: simulated-user FILE [--json OUT] [--wrong]\n";
        return 2;
    }
    const auto clauses = readClauses(input);
    char folder[] = "/tmp/kelvo-simulated-user-XXXXXX";
    if (!::mkdtemp(folder)) {
        std::cerr << "simulated-user: cannot make a user-data folder\n";
        return 1;
    }
    kelvo::term::TermSettings settings; // the defaults, learning on
    auto resources = kelvo::term::SharedResources::load(settings, std::filesystem::path(folder));
    kelvo::term::Session session(resources, settings);
    session.flush(); // the settings are in place
    kelvo::bench::SimulatedUser user(session.engine());
    nlohmann::json json;
    for (const char* pass : {"pass1", "pass2"}) {
        PassFigures figures;
        for (const Clause& clause : clauses) {
            auto result = user.type(clause);
            if (listWrong && !result.rightAsTyped)
                std::cerr << pass << " wrong: " << clause.text << "\t" << result.typed << "\t"
                          << result.committed << "\t" << result.corrections
                          << (result.failed ? "\tfailed\n" : "\n");
            figures.add(result, clause.text);
        }
        print(pass, figures);
        json[pass] = jsonOf(figures);
    }
    resources.save(std::cerr);
    std::filesystem::remove_all(folder);
    if (!jsonOut.empty()) std::ofstream(jsonOut) << json.dump(2) << "\n";
    return 0;
}
