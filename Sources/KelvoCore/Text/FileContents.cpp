#include "Text/FileContents.hpp"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace kelvo {

std::string readFileContents(const std::filesystem::path& path, std::error_code& error) {
    error.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        error = {errno, std::generic_category()};
        return {};
    }
    std::error_code sizeError;
    auto expected = std::filesystem::file_size(path, sizeError);
    std::string text(sizeError ? std::size_t{1} << 16 : static_cast<std::size_t>(expected) + 1, '\0');
    std::size_t used = 0;
    while (std::size_t got = std::fread(text.data() + used, 1, text.size() - used, file.get())) {
        used += got;
        if (used == text.size()) text.resize(text.size() * 2);
    }
    if (std::ferror(file.get())) {
        error = {errno ? errno : EIO, std::generic_category()};
        return {};
    }
    text.resize(used);
    return text;
}

} // namespace kelvo
