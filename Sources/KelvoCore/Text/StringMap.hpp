#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kelvo {

// Hashes strings and string views alike, so maps keyed by std::string can be searched with a view
// without building a string.
struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

template <class Value> using StringMap = std::unordered_map<std::string, Value, StringHash, std::equal_to<>>;

} // namespace kelvo
