#pragma once

// Text the benchmarks type: a sentence of real Chinese with its readings, and its Dachen keys.
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <string>
#include <vector>

namespace kelvo::bench {

// 我們今天下午要去圖書館借書然後到公園散步晚上再一起吃飯討論下個星期的旅行計畫大家
inline const std::vector<std::string> sentenceReadings = {
    "ㄨㄛˇ",   "ㄇㄣ˙",   "ㄐㄧㄣ", "ㄊㄧㄢ", "ㄒㄧㄚˋ", "ㄨˇ",     "ㄧㄠˋ",  "ㄑㄩˋ",   "ㄊㄨˊ",   "ㄕㄨ",
    "ㄍㄨㄢˇ", "ㄐㄧㄝˋ", "ㄕㄨ",   "ㄖㄢˊ",  "ㄏㄡˋ",   "ㄉㄠˋ",   "ㄍㄨㄥ", "ㄩㄢˊ",   "ㄙㄢˋ",   "ㄅㄨˋ",
    "ㄨㄢˇ",   "ㄕㄤˋ",   "ㄗㄞˋ",  "ㄧˋ",    "ㄑㄧˇ",   "ㄔ",      "ㄈㄢˋ",  "ㄊㄠˇ",   "ㄌㄨㄣˋ", "ㄒㄧㄚˋ",
    "ㄍㄜ˙",   "ㄒㄧㄥ",  "ㄑㄧˊ",  "ㄉㄜ˙",  "ㄌㄩˇ",   "ㄒㄧㄥˊ", "ㄐㄧˋ",  "ㄏㄨㄚˋ", "ㄉㄚˋ",   "ㄐㄧㄚ"};

// The Dachen keys of one reading: its letters, then its tone key (Space for the first tone).
inline std::string keysOf(const std::string& reading) {
    std::string keys;
    std::string toneKey = " ";
    for (std::string_view letter : characterViews(reading)) {
        for (const auto& row : DachenLayout::table()) {
            bool matches = std::visit(
                [&](auto component) {
                    if constexpr (std::is_same_v<decltype(component), Syllable::Tone>)
                        return mark(component) == letter;
                    else
                        return rawValue(component) == letter;
                },
                row.component);
            if (!matches) continue;
            if (isTone(row.component))
                toneKey = std::string(1, row.key);
            else
                keys += row.key;
            break;
        }
    }
    return keys + toneKey;
}

} // namespace kelvo::bench
