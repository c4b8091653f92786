#pragma once
// The keys the typing clients hand to a framework: X keysyms with the evdev codes of a US keyboard.
#include <X11/keysym.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
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

constexpr unsigned leftShiftCode = 42;
constexpr unsigned shiftMask = 1;

// The typing clients' command line: [--time] [--versus OTHER] METHOD KEYS...
struct Arguments {
    bool timing = false;
    std::vector<std::string> methods; // the method typed into, then the one it takes turns with
    std::vector<std::string> keys;

    static std::optional<Arguments> of(int argc, char** argv) {
        Arguments arguments;
        int at = 1;
        std::optional<std::string> versus;
        for (; at < argc && argv[at][0] == '-' && argv[at][1] == '-'; ++at) {
            if (std::strcmp(argv[at], "--time") == 0)
                arguments.timing = true;
            else if (std::strcmp(argv[at], "--versus") == 0 && at + 1 < argc)
                versus = argv[++at];
            else
                return std::nullopt;
        }
        if (at >= argc) return std::nullopt;
        arguments.methods.push_back(argv[at++]);
        if (versus) arguments.methods.push_back(*versus);
        arguments.keys.assign(argv + at, argv + argc);
        return arguments;
    }
};

// Round trips per input method. With two, they take turns clause by clause (after each Return),
// so both meet the same load of a busy machine.
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

} // namespace typed
