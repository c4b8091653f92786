#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvo::platform {

// Settings values in GVariant text, as `gsettings get` prints them and `gsettings set` takes them,
// read and written by GLib so that quotes and escapes inside the strings survive.
using StringPairs = std::vector<std::pair<std::string, std::string>>;

// No value for text that is not a GVariant of that type.
std::optional<std::vector<std::string>> stringListOfGVariantText(const std::string& text);
std::optional<StringPairs> stringPairsOfGVariantText(const std::string& text);

std::string gvariantTextOfStringList(const std::vector<std::string>& strings);
std::string gvariantTextOfStringPairs(const StringPairs& pairs);

} // namespace kelvo::platform
