#pragma once

#include "PersonalData/UserDataFile.hpp"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kelvo {

// The user's text shortcuts: a short trigger that expands to a stored text. Every change is saved
// first and takes effect in memory only when saving succeeded.
class CustomTextStore {
public:
    struct Entry {
        std::string trigger;
        std::string text;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // Why a shortcut was refused; file errors come as the system's error codes.
    enum class StoreError { invalidTrigger = 1, emptyText };

    // 1 to 32 characters, each an ASCII letter or digit, "_" or "-".
    static bool validTrigger(std::string_view trigger);

    // Reads the file when a path is given; without one the store lives in memory only.
    explicit CustomTextStore(std::optional<std::filesystem::path> fileURL = std::nullopt);

    // All shortcuts by trigger, in plain string order.
    std::vector<Entry> entries() const;
    // The exact, case-sensitive expansion of a trigger.
    std::optional<std::string> expansion(std::string_view trigger) const;

    [[nodiscard]] std::error_code set(std::string_view trigger, std::string_view text);
    [[nodiscard]] std::error_code remove(std::string_view trigger);

    const std::optional<std::filesystem::path>& fileURL() const { return fileURL_; }
    std::optional<std::filesystem::path> keptAside() const;

    // The file's JSON for a table, and the shortcuts a file's JSON gives (no value for a file that
    // does not decode); `clean` is set false when anything had to be skipped.
    static std::string encoded(const std::map<std::string, std::string, std::less<>>& values);
    static std::optional<std::map<std::string, std::string, std::less<>>> parse(std::string_view json,
                                                                                bool& clean);

private:
    using Values = std::map<std::string, std::string, std::less<>>;

    std::error_code adopt(Values changed);

    Values values_;
    std::optional<std::filesystem::path> fileURL_;
    std::optional<UserDataFile> file_;
};

const std::error_category& customTextStoreCategory();
std::error_code make_error_code(CustomTextStore::StoreError error);

} // namespace kelvo

template <> struct std::is_error_code_enum<kelvo::CustomTextStore::StoreError> : std::true_type {};
