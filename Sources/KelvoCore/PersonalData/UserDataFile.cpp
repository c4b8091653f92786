#include "PersonalData/UserDataFile.hpp"

#include "Text/FileContents.hpp"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace kelvo {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::error_code writeAll(int descriptor, std::string_view contents) {
    while (!contents.empty()) {
        ssize_t written = ::write(descriptor, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// The folder's entry for the renamed file reaches the disk too.
void syncFolder(const std::filesystem::path& folder) {
    int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

std::string timestamp() {
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &utc);
    return text;
}

} // namespace

std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view contents) {
    std::error_code error;
    const std::filesystem::path folder = path.parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    if (error) return error;

    std::string hidden = ".";
    hidden += path.filename().string();
    hidden += ".XXXXXX";
    std::string temporary = (folder / hidden).string();
    int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) return lastError();
    error = writeAll(descriptor, contents);
    if (!error && ::fsync(descriptor) != 0) error = lastError();
    if (::close(descriptor) != 0 && !error) error = lastError();
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = lastError();
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    syncFolder(folder);
    return {};
}

std::optional<std::string> UserDataFile::read() {
    std::error_code error;
    std::string contents = readFileContents(path_, error);
    if (error == std::errc::no_such_file_or_directory) return std::nullopt;
    if (error) {
        keepAside_ = true;
        return std::nullopt;
    }
    return contents;
}

std::error_code UserDataFile::moveAside() {
    std::error_code error;
    if (!std::filesystem::exists(path_, error)) return {};
    std::string base = path_.string() + ".unreadable-" + timestamp();
    std::filesystem::path aside = base;
    for (int n = 1; std::filesystem::exists(aside, error); ++n)
        aside = base + "-" + std::to_string(n);
    std::filesystem::rename(path_, aside, error);
    if (!error) keptAside_ = aside;
    return error;
}

std::error_code UserDataFile::save(std::string_view contents) {
    if (keepAside_) {
        if (std::error_code error = moveAside()) return error;
        keepAside_ = false;
    }
    return writeFileAtomically(path_, contents);
}

} // namespace kelvo
