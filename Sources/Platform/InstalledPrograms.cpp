#include "InstalledPrograms.hpp"

#include <glib.h>
#include <memory>
#include <optional>
#include <set>
#include <unistd.h>

namespace kelvo::platform {
namespace {

// A name typed as one word: letters first, then letters or digits.
std::optional<std::string> typableName(std::string_view name) {
    if (name.size() < 3 || name.size() > 24) return std::nullopt;
    std::string word;
    for (char c : name) {
        char lower = g_ascii_tolower(c);
        bool letter = lower >= 'a' && lower <= 'z';
        bool digit = c >= '0' && c <= '9';
        if (!letter && !(digit && !word.empty())) return std::nullopt;
        word += lower;
    }
    return word;
}

void addExecutables(const std::filesystem::path& folder, std::set<std::string>& names) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::error_code ignored;
        if (!entry.is_regular_file(ignored) || access(entry.path().c_str(), X_OK) != 0) continue;
        if (auto name = typableName(entry.path().filename().string())) names.insert(*name);
    }
}

void addDesktopEntries(const std::filesystem::path& folder, std::set<std::string>& names) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".desktop") continue;
        std::unique_ptr<GKeyFile, decltype(&g_key_file_free)> file(g_key_file_new(), g_key_file_free);
        if (!g_key_file_load_from_file(file.get(), entry.path().c_str(), G_KEY_FILE_NONE, nullptr)) continue;
        if (g_autofree char* name = g_key_file_get_string(file.get(), "Desktop Entry", "Name", nullptr))
            if (auto word = typableName(name)) names.insert(*word);
        g_autofree char* exec = g_key_file_get_string(file.get(), "Desktop Entry", "Exec", nullptr);
        g_auto(GStrv) arguments = nullptr;
        if (exec && g_shell_parse_argv(exec, nullptr, &arguments, nullptr) && arguments[0])
            if (auto word = typableName(std::filesystem::path(arguments[0]).filename().string()))
                names.insert(*word);
    }
}

} // namespace

std::vector<std::string> installedProgramNames(std::string_view searchPath,
                                               const std::vector<std::filesystem::path>& dataFolders) {
    std::set<std::string> names;
    g_auto(GStrv) folders = g_strsplit(std::string(searchPath).c_str(), G_SEARCHPATH_SEPARATOR_S, -1);
    for (char** folder = folders; *folder; ++folder)
        if (**folder) addExecutables(*folder, names);
    for (const auto& folder : dataFolders)
        addDesktopEntries(folder / "applications", names);
    return {names.begin(), names.end()};
}

std::vector<std::filesystem::path> dataFolders() {
    std::vector<std::filesystem::path> folders{g_get_user_data_dir()};
    for (const char* const* folder = g_get_system_data_dirs(); *folder; ++folder)
        folders.emplace_back(*folder);
    return folders;
}

} // namespace kelvo::platform
