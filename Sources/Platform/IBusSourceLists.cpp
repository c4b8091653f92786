// The lists of input sources that IBus and GNOME keep in GSettings, and the engine IBus runs now.
#include "ChildProcess.hpp"
#include "FileOperations.hpp"
#include "GVariantText.hpp"
#include "IBusInputSourceRegistry.hpp"

#include <algorithm>
#include <cerrno>
#include <sstream>

namespace kelvo::platform {
namespace {

constexpr const char* ibusSchema = "org.freedesktop.ibus.general";
constexpr const char* gnomeSchema = "org.gnome.desktop.input-sources";

int statusOf(const ChildResult& result) {
    if (result.status == 0) return 0;
    return result.status < 0 ? ENOENT : EIO;
}

bool hasSchema(const std::string& schema) {
    ChildResult schemas = runChild({"gsettings", "list-schemas"});
    std::istringstream lines(schemas.output);
    for (std::string line; std::getline(lines, line);)
        if (line == schema) return true;
    return false;
}

// Sets a setting and reads it back: without a session bus, or with a backend that keeps nothing,
// gsettings succeeds and stores nothing.
template <typename Value, typename Write, typename Read>
int storedSetting(const char* schema, const char* key, const Value& value, Write write, Read read) {
    if (int status = statusOf(runChild({"gsettings", "set", schema, key, write(value)}))) return status;
    return read(runChild({"gsettings", "get", schema, key}).output) == value ? 0 : EIO;
}

// The system's keyboard layout and variant (the first of each listed), as Debian keeps them.
std::pair<std::string, std::string> systemKeyboardLayout(const std::filesystem::path& file) {
    std::pair<std::string, std::string> layout{"us", ""};
    std::istringstream lines(contentsOfFile(file).value_or(""));
    auto firstValue = [](std::string value) {
        std::erase(value, '"');
        return value.substr(0, value.find(','));
    };
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("XKBLAYOUT=") && !firstValue(line.substr(10)).empty())
            layout.first = firstValue(line.substr(10));
        else if (line.starts_with("XKBVARIANT="))
            layout.second = firstValue(line.substr(11));
    }
    return layout;
}

} // namespace

// Adds or removes the source in IBus's preload-engines and, where present, GNOME's input sources.
// An empty list gets the user's keyboard layout first, so that Kelvo is never the only source
// (which could not be switched away from, nor removed). A list that cannot be read is left alone
// rather than rewritten from a guess.
int IBusInputSourceRegistry::updateLists(const std::string& source, bool add) const {
    const auto [layout, variant] = systemKeyboardLayout(locations_.keyboardFile);
    auto engines =
        stringListOfGVariantText(runChild({"gsettings", "get", ibusSchema, "preload-engines"}).output);
    if (!engines) return EINVAL;
    std::erase(*engines, source);
    if (add && engines->empty()) engines->insert(engines->begin(), layoutEngine(layout, variant));
    if (add) engines->push_back(source);
    int status = storedSetting(ibusSchema, "preload-engines", *engines, gvariantTextOfStringList,
                               stringListOfGVariantText);
    if (status != 0 || !hasSchema(gnomeSchema)) return status;

    auto sources = stringPairsOfGVariantText(runChild({"gsettings", "get", gnomeSchema, "sources"}).output);
    if (!sources) return EINVAL;
    std::erase(*sources, std::pair<std::string, std::string>("ibus", source));
    if (add && sources->empty())
        sources->emplace(sources->begin(), "xkb", variant.empty() ? layout : layout + "+" + variant);
    if (add) sources->emplace_back("ibus", source);
    return storedSetting(gnomeSchema, "sources", *sources, gvariantTextOfStringPairs,
                         stringPairsOfGVariantText);
}

int IBusInputSourceRegistry::enable(const std::string& source) {
    return updateLists(source, true);
}

int IBusInputSourceRegistry::disable(const std::string& source) {
    return updateLists(source, false);
}

int IBusInputSourceRegistry::select(const std::string& source) {
    return runChild({"ibus", "engine", source}).status == 0 ? 0 : EINVAL;
}

std::string IBusInputSourceRegistry::currentSource() {
    ChildResult result = runChild({"ibus", "engine"});
    if (result.status != 0) return {};
    std::string name = result.output;
    while (!name.empty() && (name.back() == '\n' || name.back() == ' '))
        name.pop_back();
    return name;
}

} // namespace kelvo::platform
