#include "AtomicWrite.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kelvo::platform {

std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view contents) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) return error;
    std::string hidden = ".";
    hidden += path.filename().string();
    hidden += ".XXXXXX";
    std::string temporary = (path.parent_path() / hidden).string();
    int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) return {errno, std::generic_category()};
    for (std::string_view rest = contents; !rest.empty() && !error;) {
        ssize_t written = ::write(descriptor, rest.data(), rest.size());
        if (written < 0 && errno != EINTR) error = {errno, std::generic_category()};
        if (written > 0) rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (!error && ::fsync(descriptor) != 0) error = {errno, std::generic_category()};
    if (::close(descriptor) != 0 && !error) error = {errno, std::generic_category()};
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = {errno, std::generic_category()};
    if (error) ::unlink(temporary.c_str());
    return error;
}

} // namespace kelvo::platform
