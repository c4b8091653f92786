#include "Bundle.hpp"

#include "FileOperations.hpp"

#include <dlfcn.h>
#include <plist/plist.h>
#include <stdexcept>

namespace kelvo::platform {
std::optional<std::map<std::string, std::string>> stringEntriesOfPropertyList(const std::string& data) {
    plist_t root = nullptr;
    plist_from_memory(data.data(), static_cast<uint32_t>(data.size()), &root);
    if (!root) throw std::runtime_error("屬性列表格式錯誤");
    std::optional<std::map<std::string, std::string>> entries;
    if (plist_get_node_type(root) == PLIST_DICT) {
        entries.emplace();
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(root, &iterator);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(root, iterator, &key, &item);
            if (!key) break;
            if (plist_get_node_type(item) == PLIST_STRING) {
                char* value = nullptr;
                plist_get_string_val(item, &value);
                (*entries)[key] = value ? value : "";
                std::free(value);
            }
            std::free(key);
        }
        std::free(iterator);
    }
    plist_free(root);
    return entries;
}

namespace {

// The bundle described by an Info.plist, or none when it is unreadable or names no identifier.
std::optional<Bundle> describedBy(const std::filesystem::path& infoPlist) {
    auto text = contentsOfFile(infoPlist);
    if (!text) return std::nullopt;
    std::optional<std::map<std::string, std::string>> entries;
    try {
        entries = stringEntriesOfPropertyList(*text);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
    if (!entries || (*entries)["CFBundleIdentifier"].empty()) return std::nullopt;
    Bundle bundle;
    bundle.identifier = (*entries)["CFBundleIdentifier"];
    bundle.shortVersion = (*entries)["CFBundleShortVersionString"];
    bundle.version = (*entries)["CFBundleVersion"];
    return bundle;
}

} // namespace

std::optional<Bundle> Bundle::at(const std::filesystem::path& path) {
    auto bundle = describedBy(path / "Contents" / "Info.plist");
    if (!bundle) return std::nullopt;
    bundle->path = path;
    bundle->resources = path / "Contents" / "Resources";
    return bundle;
}

std::optional<Bundle> Bundle::installedAt(const std::filesystem::path& dataFolder) {
    auto bundle = describedBy(dataFolder / "Info.plist");
    if (!bundle) return std::nullopt;
    bundle->path = dataFolder;
    bundle->resources = dataFolder;
    bundle->systemWide = true;
    return bundle;
}

std::optional<Bundle> Bundle::main(const std::filesystem::path& dataFromExecutable) {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    std::filesystem::path macos = executable.parent_path();
    if (macos.filename() == "MacOS" && macos.parent_path().filename() == "Contents")
        return at(macos.parent_path().parent_path());
    if (dataFromExecutable.empty()) return std::nullopt;
    return installedAt((macos / dataFromExecutable).lexically_normal());
}

std::filesystem::path libraryContaining(const void* address) {
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname) return {};
    std::error_code error;
    auto path = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::filesystem::path(info.dli_fname) : path;
}

std::optional<std::filesystem::path> Bundle::resource(const std::string& name,
                                                      const std::string& subfolder) const {
    std::filesystem::path file = resources;
    if (!subfolder.empty()) file /= subfolder;
    file /= name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    return file;
}

} // namespace kelvo::platform
