#include "Seal.hpp"

#include "AtomicWrite.hpp"
#include "FileOperations.hpp"

#include <fstream>
#include <glib.h>
#include <map>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

namespace kelvo::platform::seal {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

struct Entry {
    std::string kind; // "file" or "link"
    std::string sha256;
    std::uintmax_t size = 0;
    unsigned mode = 0;
    std::string target;
};

std::string sha256Of(const fs::path& file) {
    GChecksum* checksum = g_checksum_new(G_CHECKSUM_SHA256);
    std::ifstream in(file, std::ios::binary);
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        g_checksum_update(checksum, reinterpret_cast<const guchar*>(buffer),
                          static_cast<gssize>(in.gcount()));
    std::string digest = g_checksum_get_string(checksum);
    g_checksum_free(checksum);
    return digest;
}

// Every file and link of the bundle, by path relative to it, except the seal itself.
std::map<std::string, Entry> contentsOf(const fs::path& bundle) {
    std::map<std::string, Entry> entries;
    for (auto it = fs::recursive_directory_iterator(bundle); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& path = it->path();
        std::string relative = path.lexically_relative(bundle).generic_string(); // never through links
        if (relative == sealPath) continue;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) continue;
        if (S_ISLNK(info.st_mode)) {
            entries[relative] = Entry{"link", "", 0, 0, fs::read_symlink(path).generic_string()};
        } else if (S_ISREG(info.st_mode)) {
            entries[relative] = Entry{"file", sha256Of(path), static_cast<std::uintmax_t>(info.st_size),
                                      static_cast<unsigned>(info.st_mode & 07777), ""};
        }
    }
    return entries;
}

Json jsonOf(const Entry& entry) {
    if (entry.kind == "link") return Json{{"link", entry.target}};
    return Json{{"sha256", entry.sha256}, {"size", entry.size}, {"mode", entry.mode}};
}

// Whether a link, resolved from its own folder, stays inside the bundle.
bool staysInside(const fs::path& bundle, const std::string& relative, const std::string& target) {
    fs::path resolved =
        (fs::path(target).is_absolute() ? fs::path(target) : (bundle / relative).parent_path() / target)
            .lexically_normal();
    fs::path root = bundle.lexically_normal();
    auto mismatch = std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end());
    return mismatch.first == root.end() ||
           (mismatch.first->empty() && std::next(mismatch.first) == root.end());
}

} // namespace

Result sign(const fs::path& bundle) {
    if (!fs::is_directory(bundle)) return {false, "not a bundle: " + bundle.string()};
    auto entries = contentsOf(bundle);
    Json files = Json::object();
    for (const auto& [path, entry] : entries) {
        if (entry.kind == "link" && !staysInside(bundle, path, entry.target))
            return {false, "link leaves the bundle: " + path};
        files[path] = jsonOf(entry);
    }
    Json seal = {{"files", files}};
    if (auto error = writeFileAtomically(bundle / sealPath, seal.dump(1) + "\n"))
        return {false, "cannot write the seal: " + error.message()};
    return {true, "sealed " + std::to_string(entries.size()) + " entries of " + bundle.string()};
}

Result verify(const fs::path& bundle) {
    auto text = contentsOfFile(bundle / sealPath);
    if (!text) return {false, "missing seal: " + (bundle / sealPath).string()};
    Json seal = Json::parse(*text, nullptr, false);
    if (!seal.is_object() || !seal.contains("files") || !seal["files"].is_object())
        return {false, "unreadable seal: " + (bundle / sealPath).string()};
    const Json& sealed = seal["files"];
    auto entries = contentsOf(bundle);
    for (const auto& [path, expected] : sealed.items())
        if (!entries.contains(path)) return {false, "missing file: " + path};
    for (const auto& [path, entry] : entries) {
        if (!sealed.contains(path)) return {false, "extra file: " + path};
        if (entry.kind == "link" && !staysInside(bundle, path, entry.target))
            return {false, "link leaves the bundle: " + path};
        if (sealed[path] != jsonOf(entry)) return {false, "changed file: " + path};
    }
    return {true, "valid: " + bundle.string()};
}

} // namespace kelvo::platform::seal
