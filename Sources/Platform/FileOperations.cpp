#include "FileOperations.hpp"

#include "Text/FileContents.hpp"

#include <array>
#include <fstream>
#include <random>
#include <sstream>

namespace kelvo::platform {

namespace fs = std::filesystem;

void FileOperations::check(std::string_view operation, const fs::path& path) const {
    if (!faultHook) return;
    if (std::error_code error = faultHook(operation, path))
        throw fs::filesystem_error(std::string(operation), path, error);
}

void FileOperations::createDirectories(const fs::path& folder) const {
    check("createDirectories", folder);
    fs::create_directories(folder);
}

void FileOperations::copyTree(const fs::path& from, const fs::path& to) const {
    check("copy", to);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

void FileOperations::move(const fs::path& from, const fs::path& to) const {
    check("move", to);
    fs::rename(from, to);
}

void FileOperations::removeTree(const fs::path& path) const {
    check("remove", path);
    fs::remove_all(path);
}

std::string FileOperations::readFile(const fs::path& file) const {
    auto contents = contentsOfFile(file);
    if (!contents)
        throw fs::filesystem_error("read", file, std::make_error_code(std::errc::no_such_file_or_directory));
    return *contents;
}

std::optional<std::string> contentsOfFile(const fs::path& file) {
    std::error_code error;
    std::string text = readFileContents(file, error); // never blocks on a FIFO
    if (error) return std::nullopt;
    return text;
}

std::string newUUIDString() {
    std::random_device source;
    std::array<unsigned char, 16> bytes{};
    for (auto& byte : bytes)
        byte = static_cast<unsigned char>(source());
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace kelvo::platform
