#pragma once
// The keys the typing clients hand to a framework: X keysyms with the evdev codes of a US keyboard.
#include <X11/keysym.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <glib.h>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace typed {

// Evdev key codes on a US keyboard.
inline unsigned evdevCodeOf(char key) {
    static const char* rows[] = {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'`", "\\zxcvbnm,./"};
    static const char* shiftedRows[] = {"!@#$%^&*()_+", "QWERTYUIOP{}", "ASDFGHJKL:\"~", "|ZXCVBNM<>?"};
    static const unsigned firsts[] = {2, 16, 30, 43};
    for (int row = 0; row < 4; ++row) {
        if (const char* at = std::strchr(rows[row], key))
            return firsts[row] + static_cast<unsigned>(at - rows[row]);
        if (const char* at = std::strchr(shiftedRows[row], key))
            return firsts[row] + static_cast<unsigned>(at - shiftedRows[row]);
    }
    return key == ' ' ? 57 : 0;
}

inline bool isShifted(char key) {
    return key && std::strchr("ABCDEFGHIJKLMNOPQRSTUVWXYZ!@#$%^&*()_+{}:\"~|<>?", key) != nullptr;
}

struct NamedKey {
    unsigned keysym;
    unsigned evdevCode;
};

// The keys a token names: Return, Down, Tab, Escape, BackSpace, Page_Down.
inline std::optional<NamedKey> namedKey(const std::string& token) {
    static const std::map<std::string, NamedKey> named = {
        {"Return", {XK_Return, 28}}, {"Down", {XK_Down, 108}},          {"Tab", {XK_Tab, 15}},
        {"Escape", {XK_Escape, 1}},  {"BackSpace", {XK_BackSpace, 14}}, {"Page_Down", {XK_Page_Down, 109}},
    };
    auto found = named.find(token);
    if (found == named.end()) return std::nullopt;
    return found->second;
}

constexpr unsigned shiftMask = 1;

// The typing clients' command line: [--time] [--versus OTHER]... METHOD KEYS...
struct Arguments {
    bool timing = false;
    std::vector<std::string> methods; // the method typed into, then those it takes turns with
    std::vector<std::string> keys;

    static std::optional<Arguments> of(int argc, char** argv) {
        Arguments arguments;
        int at = 1;
        for (; at < argc && argv[at][0] == '-' && argv[at][1] == '-'; ++at) {
            if (std::strcmp(argv[at], "--time") == 0)
                arguments.timing = true;
            else if (std::strcmp(argv[at], "--versus") == 0 && at + 1 < argc)
                arguments.methods.push_back(argv[++at]);
            else
                return std::nullopt;
        }
        if (at >= argc) return std::nullopt;
        arguments.methods.insert(arguments.methods.begin(), argv[at++]);
        arguments.keys.assign(argv + at, argv + argc);
        return arguments;
    }
};

// Round trips per input method. With several, they take turns clause by clause (after each Return),
// so all meet the same load of a busy machine.
class Timings {
public:
    explicit Timings(std::vector<std::string> methods)
        : methods_(std::move(methods)), times_(methods_.size()) {}

    const std::string& current() const { return methods_[turn_]; }
    void add(double micros) { times_[turn_].push_back(micros); }
    // Whether the token ends a clause and another method takes its turn.
    bool turnsAfter(const std::string& token) {
        if (token != "Return" || methods_.size() < 2) return false;
        turn_ = (turn_ + 1) % methods_.size();
        return true;
    }
    void print() {
        for (std::size_t i = 0; i < methods_.size(); ++i) {
            auto& times = times_[i];
            if (times.empty()) continue;
            std::sort(times.begin(), times.end());
            std::fprintf(stderr, "%s: keys=%zu median_us=%.1f p99_us=%.1f\n", methods_[i].c_str(),
                         times.size(), times[times.size() / 2],
                         times[std::min(times.size() - 1, times.size() * 99 / 100)]);
        }
    }

private:
    std::vector<std::string> methods_;
    std::vector<std::vector<double>> times_;
    std::size_t turn_ = 0;
};

// Runs GLib's default main context for a while: the framework's signals arrive there.
inline void drain(int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// Presses a named key, or each character of a token as its key (Shift held for shifted ones),
// with press(keysym, evdev code, state, typed text or null); adds each round trip it answers.
template <typename Press> void pressKeys(const std::string& token, Timings& timings, Press press) {
    if (auto key = namedKey(token)) {
        timings.add(press(key->keysym, key->evdevCode, 0u, nullptr));
        return;
    }
    for (char c : token) {
        char text[2] = {c, 0};
        timings.add(
            press(static_cast<unsigned char>(c), evdevCodeOf(c), isShifted(c) ? shiftMask : 0u, text));
    }
}

// Waits up to ten seconds for a condition, running the main context meanwhile; says on standard
// error what did not happen.
template <typename Condition> bool eventually(Condition done, const std::string& what) {
    for (int tries = 0; !done() && tries < 400; ++tries)
        drain(25);
    if (done()) return true;
    std::fprintf(stderr, "%s\n", what.c_str());
    return false;
}

// Types every token into the selected method, handing the turn over after each clause, then prints
// what the field holds and, when asked, the round trips. Answers the exit status.
template <typename TypeToken, typename Select>
int typeAll(const Arguments& arguments, const std::string& field, TypeToken typeToken, Select select) {
    Timings timings(arguments.methods);
    if (!select(timings.current())) return 1;
    drain(100);
    for (const std::string& token : arguments.keys) {
        typeToken(token, timings);
        if (timings.turnsAfter(token) && !select(timings.current())) return 1;
    }
    drain(200);
    std::printf("%s\n", field.c_str());
    if (arguments.timing) timings.print();
    return 0;
}

} // namespace typed
