#include "Text/FileContents.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvo {
namespace {

class FileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "kelvo.file"; }
    std::string message(int value) const override {
        if (static_cast<FileError>(value) == FileError::notRegularFile) return "not a regular file";
        if (static_cast<FileError>(value) == FileError::tooLarge) return "larger than Kelvo reads";
        return "unknown error";
    }
};

std::error_code lastError() {
    return {errno, std::generic_category()};
}

} // namespace

const std::error_category& fileErrorCategory() {
    static const FileErrorCategory category;
    return category;
}

std::error_code make_error_code(FileError error) {
    return {static_cast<int>(error), fileErrorCategory()};
}

int openRegularFile(const std::filesystem::path& path, std::error_code& error, std::size_t& size) {
    error.clear();
    // Opening without blocking: a FIFO with no writer would otherwise hold the open forever.
    int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        error = lastError();
        return -1;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        error = lastError();
    else if (!S_ISREG(status.st_mode))
        error = FileError::notRegularFile;
    if (error) {
        ::close(descriptor);
        return -1;
    }
    size = static_cast<std::size_t>(status.st_size);
    return descriptor;
}

std::string readFileContents(const std::filesystem::path& path, std::error_code& error, std::size_t largest) {
    std::size_t size = 0;
    int descriptor = openRegularFile(path, error, size);
    if (descriptor < 0) return {};
    std::string text;
    if (size > largest) {
        error = FileError::tooLarge;
    } else {
        text.resize(size + 1);
        std::size_t used = 0;
        for (;;) {
            ssize_t got = ::read(descriptor, text.data() + used, text.size() - used);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                error = lastError();
                break;
            }
            if (got == 0) break;
            used += static_cast<std::size_t>(got);
            if (used > largest) {
                error = FileError::tooLarge; // it grew while read
                break;
            }
            if (used == text.size()) text.resize(text.size() * 2); // the file grew while read
        }
        text.resize(error ? 0 : used);
    }
    ::close(descriptor);
    return text;
}

} // namespace kelvo
