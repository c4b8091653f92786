#pragma once

#include "Zhuyin/Syllable.hpp"

#include <variant>

namespace kelvo {

// What one key of the keyboard layout stands for: exactly one component of a syllable. Equality is
// the variant's: the same alternative holding the same case.
using ZhuyinComponent = std::variant<Syllable::Initial, Syllable::Medial, Syllable::Final, Syllable::Tone>;

inline bool isTone(const ZhuyinComponent& component) {
    return std::holds_alternative<Syllable::Tone>(component);
}

} // namespace kelvo
