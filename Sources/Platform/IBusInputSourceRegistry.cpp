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
constexpr const char* ibusSchema = "org.freedesktop.ibus.general";
constexpr const char* gnomeSchema = "org.gnome.desktop.input-sources";

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

// Adds or removes the source in IBus's preload-engines and, where present, GNOME's input sources.
// A list that cannot be read is left alone rather than rewritten from a guess.
int updateLists(const std::string& source, bool add) {
    auto engines =
        stringListOfGVariantText(runChild({"gsettings", "get", ibusSchema, "preload-engines"}).output);
    if (!engines) return EINVAL;
    std::erase(*engines, source);
    if (add) engines->push_back(source);
    int status = statusOf(
        runChild({"gsettings", "set", ibusSchema, "preload-engines", gvariantTextOfStringList(*engines)}));
    if (status != 0 || !hasSchema(gnomeSchema)) return status;

    auto sources = stringPairsOfGVariantText(runChild({"gsettings", "get", gnomeSchema, "sources"}).output);
    if (!sources) return EINVAL;
    std::erase(*sources, std::pair<std::string, std::string>("ibus", source));
    if (add) sources->emplace_back("ibus", source);
    return statusOf(
        runChild({"gsettings", "set", gnomeSchema, "sources", gvariantTextOfStringPairs(*sources)}));
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
            "/usr/share/ibus/component"};
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

int IBusInputSourceRegistry::registerBundle(const fs::path& bundle) {
    std::string component = readText(componentTemplate(bundle));
    if (component.empty()) return ENOENT;
    const fs::path contents = fs::absolute(bundle).lexically_normal() / "Contents";
    const std::string exec = execLineFor((contents / "MacOS" / "Kelvo").string());
    component =
        filledIn(component, {{"@KELVO_EXECUTABLE@", exec},
                             {"@KELVO_SETUP@", exec + " settings"},
                             {"@KELVO_ICON@", xmlEscaped((contents / "Resources" / "kelvo.svg").string())}});
    if (auto error = writeFileAtomically(locations_.componentFolder / componentFile, component))
        return error.value();
    if (int status = writeEnvironment()) return status;
    runChild({"ibus", "write-cache"}); // refreshes a running daemon; not required to succeed
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

int IBusInputSourceRegistry::writeEnvironment() const {
    std::vector<std::string> folders = {locations_.componentFolder.string()};
    for (std::string& folder : environmentFolders())
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    if (std::find(folders.begin(), folders.end(), locations_.systemComponents.string()) == folders.end())
        folders.push_back(locations_.systemComponents.string());
    return writeEnvironmentLine(folders);
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
