#pragma once

#include "Zhuyin/ZhuyinComponent.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The Dachen (standard) Zhuyin keyboard: 42 keys of a US keyboard, each standing for one component.
namespace kelvo::DachenLayout {

struct Row {
    char key;
    ZhuyinComponent component;
};

// The 42 rows of the layout.
std::span<const Row> table();

// The component of a key. Keys match exactly: only the lower-case letters, digits, punctuation and
// space of the table have one.
std::optional<ZhuyinComponent> component(std::string_view character);

// The keys that end a syllable with its tone, first to fifth (Space for the first).
inline constexpr std::string_view toneKeys = " 6347";
bool isToneKey(std::string_view key);

// The keys that type a syllable given in canonical form: its letters, then its tone key (Space for
// the first tone). No value for text that is not a syllable of Zhuyin letters and one tone mark.
std::optional<std::string> keys(std::string_view canonicalSyllable);

} // namespace kelvo::DachenLayout
