#include "UserDefaults.hpp"

namespace kelvo::platform {

bool UserDefaults::boolean(std::string_view key) const {
    auto stored = value(key);
    const bool* flag = stored ? std::get_if<bool>(&*stored) : nullptr;
    return flag && *flag;
}

long long UserDefaults::integer(std::string_view key) const {
    auto stored = value(key);
    const long long* number = stored ? std::get_if<long long>(&*stored) : nullptr;
    return number ? *number : 0;
}

std::optional<std::string> UserDefaults::string(std::string_view key) const {
    auto stored = value(key);
    const std::string* text = stored ? std::get_if<std::string>(&*stored) : nullptr;
    if (!text) return std::nullopt;
    return *text;
}

std::optional<DefaultsValue> MemoryDefaults::value(std::string_view key) const {
    if (auto found = user_.find(key); found != user_.end()) return found->second;
    if (auto found = registered_.find(key); found != registered_.end()) return found->second;
    return std::nullopt;
}

void MemoryDefaults::set(std::string_view key, DefaultsValue value) {
    user_[std::string(key)] = std::move(value);
    ++revision_;
}

void MemoryDefaults::registerDefaults(const std::map<std::string, DefaultsValue>& defaults) {
    for (const auto& [key, value] : defaults)
        registered_[key] = value;
    ++revision_;
}

} // namespace kelvo::platform
