#include "Seal.hpp"

#include "FileOperations.hpp"
#include "PersonalData/UserDataFile.hpp"

#include <fstream>
#include <glib.h>
#include <map>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <vector>

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

// Whether a path of the bundle, resolved as the system would resolve it (every link along the way
// followed, a link's target read from the link's own folder), stays inside the bundle at every
// step. Comparing texts is not enough: "a/../x" leaves the folder when "a" is a link elsewhere.
bool resolvesInside(const fs::path& bundle, const std::string& relative) {
    const fs::path root = bundle.lexically_normal();
    std::vector<std::string> resolved; // components below the root
    std::vector<std::string> pending;  // still to walk, the next one last
    auto walkLater = [&](const fs::path& path) {
        std::vector<std::string> parts;
        for (const auto& part : path.relative_path())
            if (!part.empty()) parts.push_back(part.string());
        pending.insert(pending.end(), parts.rbegin(), parts.rend());
    };
    walkLater(relative);
    for (int linksLeft = 40; !pending.empty();) {
        std::string part = std::move(pending.back());
        pending.pop_back();
        if (part == ".") continue;
        if (part == "..") {
            if (resolved.empty()) return false;
            resolved.pop_back();
            continue;
        }
        fs::path here = root;
        for (const auto& name : resolved)
            here /= name;
        here /= part;
        struct stat info {};
        if (::lstat(here.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            resolved.push_back(part);
            continue;
        }
        if (--linksLeft < 0) return false; // a loop, or a chain too long to trust
        fs::path target = fs::read_symlink(here);
        if (target.is_absolute()) {
            fs::path inside = target.lexically_normal().lexically_relative(root);
            if (inside.empty() || *inside.begin() == "..") return false;
            resolved.clear();
            target = inside;
        }
        walkLater(target);
    }
    return true;
}

} // namespace

Result sign(const fs::path& bundle) {
    if (!fs::is_directory(bundle)) return {false, "not a bundle: " + bundle.string()};
    auto entries = contentsOf(bundle);
    Json files = Json::object();
    for (const auto& [path, entry] : entries) {
        if (entry.kind == "link" && !resolvesInside(bundle, path))
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
        if (entry.kind == "link" && !resolvesInside(bundle, path))
            return {false, "link leaves the bundle: " + path};
        if (sealed[path] != jsonOf(entry)) return {false, "changed file: " + path};
    }
    return {true, "valid: " + bundle.string()};
}

} // namespace kelvo::platform::seal
