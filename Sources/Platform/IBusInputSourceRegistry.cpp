#include "IBusInputSourceRegistry.hpp"

#include "ChildProcess.hpp"
#include "FileOperations.hpp"
#include "GVariantText.hpp"
#include "PersonalData/UserDataFile.hpp"
#include "StandardPaths.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <unistd.h>

namespace kelvo::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* componentFile = "kelvo.xml";

std::string readText(const fs::path& file) {
    return contentsOfFile(file).value_or("");
}

// The <name> of every <engine> in a component file.
std::vector<std::string> engineNames(const std::string& xml) {
    std::vector<std::string> names;
    for (std::size_t at = xml.find("<engine>"); at != std::string::npos; at = xml.find("<engine>", at + 1)) {
        std::size_t open = xml.find("<name>", at), close = xml.find("</name>", at);
        std::size_t end = xml.find("</engine>", at);
        if (open == std::string::npos || close == std::string::npos ||
            (end != std::string::npos && open > end))
            continue;
        names.push_back(xml.substr(open + 6, close - open - 6));
    }
    return names;
}

// A value in an environment.d file, taken literally whatever the folder's name holds: the file's
// parser takes a backslash as escaping the next character, and then "$$" expands to "$".
std::string environmentValue(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '$') escaped += '$';
        if (c == '\\' || c == '"' || c == '\'' || c == ' ' || c == '\t') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string unescapedEnvironmentValue(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((text[i] == '\\' || (text[i] == '$' && text[i + 1] == '$')) && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

} // namespace

IBusInputSourceRegistry::Locations IBusInputSourceRegistry::Locations::standard() {
    return {dataHome() / "Kelvo" / "ibus-component", configHome() / "environment.d" / "60-kelvo-ibus.conf",
            "/usr/share/ibus/component", dataHome() / "applications"};
}

// IBus's engine for a keyboard layout: the one its components list for the layout and variant
// ("xkb:de:nodeadkeys:ger"), else the US layout's.
std::string IBusInputSourceRegistry::layoutEngine(const std::string& layout,
                                                  const std::string& variant) const {
    const std::string prefix = "xkb:" + layout + ":" + variant + ":";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(locations_.systemComponents, error))
        for (const std::string& name : engineNames(readText(entry.path())))
            if (name.starts_with(prefix)) return name;
    return "xkb:us::eng";
}

fs::path IBusInputSourceRegistry::componentTemplate(const fs::path& bundle) {
    return bundle / "Contents" / "Resources" / "ibus" / componentFile;
}

std::vector<std::string> IBusInputSourceRegistry::installedSources() {
    std::vector<fs::path> folders = {locations_.componentFolder, locations_.systemComponents};
    if (const char* path = std::getenv("IBUS_COMPONENT_PATH")) {
        std::istringstream list(path);
        for (std::string folder; std::getline(list, folder, ':');)
            if (!folder.empty()) folders.emplace_back(folder);
    }
    std::vector<std::string> sources;
    std::error_code error;
    for (const fs::path& folder : folders) {
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().extension() != ".xml") continue;
            for (std::string& name : engineNames(readText(entry.path())))
                if (std::find(sources.begin(), sources.end(), name) == sources.end())
                    sources.push_back(std::move(name));
        }
    }
    return sources;
}

namespace {

std::string xmlEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else
            escaped += c;
    }
    return escaped;
}

// The component template with every placeholder replaced by its text.
std::string filledIn(std::string component, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [placeholder, text] : values)
        for (std::size_t at; (at = component.find(placeholder)) != std::string::npos;)
            component.replace(at, placeholder.size(), text);
    return component;
}

} // namespace

// The exec line of a component is split like a shell command line, and it sits in XML: the path
// of the installed bundle ("Input Methods") has a space, and may have quotes or ampersands.
std::string execLineFor(const std::string& executable) {
    std::string quoted = "'";
    for (char c : executable)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return xmlEscaped(quoted + "'");
}

namespace {

// A desktop entry's Exec argument: quoted, with the characters the quoting reserves escaped, and
// each backslash escaped once more for the file's string syntax.
std::string desktopExecArgument(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
        if (c == '\\') quoted += "\\\\\\";
        quoted += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return quoted + "\"";
}

// What GNOME Settings runs for an IBus engine's preferences: "ibus-setup-ENGINE.desktop".
fs::path settingsLauncher(const fs::path& applications, const std::string& engine) {
    return applications / ("ibus-setup-" + engine + ".desktop");
}

} // namespace

int IBusInputSourceRegistry::registerBundle(const fs::path& bundle) {
    std::string component = readText(componentTemplate(bundle));
    if (component.empty()) return ENOENT;
    const fs::path contents = fs::absolute(bundle).lexically_normal() / "Contents";
    const fs::path executable = contents / "MacOS" / "Kelvo";
    const fs::path icon = contents / "Resources" / "kelvo.svg";
    // ibus-setup splits the setup line at every space, which the bundle's folder has ("Input
    // Methods"): it runs a link to the executable beside the component instead.
    const fs::path settingsLink = locations_.componentFolder / "kelvo-settings";
    std::error_code error;
    fs::create_directories(locations_.componentFolder, error);
    fs::remove(settingsLink, error);
    fs::create_symlink(executable, settingsLink, error);
    if (error) return error.value();
    component = filledIn(component, {{"@KELVO_EXECUTABLE@", execLineFor(executable.string())},
                                     {"@KELVO_SETUP@", xmlEscaped(settingsLink.string()) + " settings"},
                                     {"@KELVO_ICON@", xmlEscaped(icon.string())}});
    if (auto written = writeFileAtomically(locations_.componentFolder / componentFile, component))
        return written.value();
    if (executable.string().find('\n') == std::string::npos)
        for (const std::string& engine : engineNames(component))
            if (auto written = writeFileAtomically(
                    settingsLauncher(locations_.applications, engine),
                    "[Desktop Entry]\nType=Application\nName=Kelvo Settings\nName[zh_TW]=Kelvo 設定\nExec=" +
                        desktopExecArgument(executable.string()) + " settings\nIcon=" + icon.string() +
                        "\nNoDisplay=true\nTerminal=false\n"))
                return written.value();
    const std::vector<std::string> folders = componentPath();
    if (int status = writeEnvironmentLine(folders)) return status;
    // The user's cache of components, written for the folders the session will have: a daemon that
    // restarts reads it, and so finds Kelvo before the next login. Not required to succeed.
    std::string path;
    for (const std::string& folder : folders)
        path += (path.empty() ? "" : ":") + folder;
    runChild({"env", "IBUS_COMPONENT_PATH=" + path, "ibus", "write-cache"});
    return 0;
}

std::optional<fs::path> IBusInputSourceRegistry::registeredUserCopy() const {
    const fs::path executable = userBundleLocation() / "Contents" / "MacOS" / "Kelvo";
    std::error_code error;
    if (!fs::is_regular_file(locations_.componentFolder / componentFile, error)) return std::nullopt;
    if (access(executable.c_str(), X_OK) != 0) return std::nullopt;
    return executable;
}

int IBusInputSourceRegistry::unregisterBundle(const fs::path& bundle) {
    std::error_code error;
    for (const std::string& engine : engineNames(readText(locations_.componentFolder / componentFile)))
        fs::remove(settingsLauncher(locations_.applications, engine), error);
    fs::remove(locations_.componentFolder / "kelvo-settings", error);
    fs::remove(locations_.componentFolder / componentFile, error);
    if (error) return error.value();
    // Earlier versions run as root also wrote the system's folder: that copy goes only if it is
    // this bundle's.
    const fs::path system = locations_.systemComponents / componentFile;
    const std::string executable =
        (fs::absolute(bundle) / "Contents" / "MacOS" / "Kelvo").lexically_normal().string();
    if (readText(system).find(execLineFor(executable)) != std::string::npos) fs::remove(system, error);
    std::vector<std::string> folders = environmentFolders();
    std::erase(folders, locations_.componentFolder.string());
    std::erase(folders, locations_.systemComponents.string()); // added with ours
    if (folders.empty()) {
        fs::remove(locations_.environmentFile, error);
    } else if (fs::exists(locations_.environmentFile, error)) {
        folders.push_back(locations_.systemComponents.string());
        if (int status = writeEnvironmentLine(folders)) return status;
    }
    // Folders registering made are removed when nothing else is left in them.
    for (const fs::path& folder :
         {locations_.componentFolder, locations_.environmentFile.parent_path(), locations_.applications})
        if (fs::is_empty(folder, error)) fs::remove(folder, error);
    runChild({"ibus", "write-cache"});
    return 0;
}

std::vector<std::string> IBusInputSourceRegistry::environmentFolders() const {
    std::vector<std::string> folders;
    std::istringstream lines(readText(locations_.environmentFile));
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("IBUS_COMPONENT_PATH=")) continue;
        std::istringstream listed(
            unescapedEnvironmentValue(line.substr(std::string_view("IBUS_COMPONENT_PATH=").size())));
        for (std::string folder; std::getline(listed, folder, ':');)
            if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
                folders.push_back(folder);
    }
    return folders;
}

std::vector<std::string> IBusInputSourceRegistry::componentPath() const {
    std::vector<std::string> folders = {locations_.componentFolder.string()};
    for (std::string& folder : environmentFolders())
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    if (std::find(folders.begin(), folders.end(), locations_.systemComponents.string()) == folders.end())
        folders.push_back(locations_.systemComponents.string());
    return folders;
}

int IBusInputSourceRegistry::writeEnvironmentLine(const std::vector<std::string>& folders) const {
    std::string line = "IBUS_COMPONENT_PATH=";
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (folders[i].find('\n') != std::string::npos) return EINVAL; // no line can hold it
        if (i) line += ':';
        line += environmentValue(folders[i]);
    }
    line += '\n';
    return writeFileAtomically(locations_.environmentFile, line).value();
}

} // namespace kelvo::platform
