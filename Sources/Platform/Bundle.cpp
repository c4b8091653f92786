#include "Bundle.hpp"

#include <fstream>
#include <plist/plist.h>
#include <sstream>

namespace kelvo::platform {
namespace {

std::string stringEntry(plist_t dictionary, const char* key) {
    plist_t item = plist_dict_get_item(dictionary, key);
    if (!item || plist_get_node_type(item) != PLIST_STRING) return {};
    char* value = nullptr;
    plist_get_string_val(item, &value);
    std::string text = value ? value : "";
    std::free(value);
    return text;
}

} // namespace

std::optional<Bundle> Bundle::at(const std::filesystem::path& path) {
    std::ifstream in(path / "Contents" / "Info.plist", std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    const std::string xml = text.str();
    plist_t root = nullptr;
    plist_from_memory(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    if (!root) return std::nullopt;
    Bundle bundle;
    if (plist_get_node_type(root) == PLIST_DICT) {
        bundle.path = path;
        bundle.identifier = stringEntry(root, "CFBundleIdentifier");
        bundle.shortVersion = stringEntry(root, "CFBundleShortVersionString");
        bundle.version = stringEntry(root, "CFBundleVersion");
    }
    plist_free(root);
    if (bundle.identifier.empty()) return std::nullopt;
    return bundle;
}

std::optional<Bundle> Bundle::main() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    std::filesystem::path macos = executable.parent_path();
    if (macos.filename() != "MacOS" || macos.parent_path().filename() != "Contents") return std::nullopt;
    return at(macos.parent_path().parent_path());
}

std::optional<std::filesystem::path> Bundle::resource(const std::string& name,
                                                      const std::string& subfolder) const {
    std::filesystem::path file = path / "Contents" / "Resources";
    if (!subfolder.empty()) file /= subfolder;
    file /= name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    return file;
}

} // namespace kelvo::platform
