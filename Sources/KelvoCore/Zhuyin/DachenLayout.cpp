#include "Zhuyin/DachenLayout.hpp"

#include "Text/Characters.hpp"

#include <array>

namespace kelvo::DachenLayout {
namespace {

using I = Syllable::Initial;
using M = Syllable::Medial;
using F = Syllable::Final;
using T = Syllable::Tone;

const std::array<Row, 42> rows = {{
    {'1', I::b},  {'q', I::p},     {'a', I::m},     {'z', I::f},     {'2', I::d},     {'w', I::t},
    {'s', I::n},  {'x', I::l},     {'e', I::g},     {'d', I::k},     {'c', I::h},     {'r', I::j},
    {'f', I::q},  {'v', I::x},     {'5', I::zh},    {'t', I::ch},    {'g', I::sh},    {'b', I::r},
    {'y', I::z},  {'h', I::c},     {'n', I::s},     {'u', M::i},     {'j', M::u},     {'m', M::yu},
    {'8', F::a},  {'i', F::o},     {'k', F::e},     {',', F::eh},    {'9', F::ai},    {'o', F::ei},
    {'l', F::ao}, {'.', F::ou},    {'0', F::an},    {'p', F::en},    {';', F::ang},   {'/', F::eng},
    {'-', F::er}, {' ', T::tone1}, {'6', T::tone2}, {'3', T::tone3}, {'4', T::tone4}, {'7', T::tone5},
}};

// Every key is ASCII, so lookups index a table by the key's byte.
const std::array<const Row*, 128>& rowsByKey() {
    static const auto index = [] {
        std::array<const Row*, 128> byKey{};
        for (const Row& row : rows)
            byKey[static_cast<unsigned char>(row.key)] = &row;
        return byKey;
    }();
    return index;
}

} // namespace

std::span<const Row> table() {
    return rows;
}

std::optional<ZhuyinComponent> component(std::string_view character) {
    if (character.size() != 1) return std::nullopt;
    auto byte = static_cast<unsigned char>(character[0]);
    if (byte >= 128 || !rowsByKey()[byte]) return std::nullopt;
    return rowsByKey()[byte]->component;
}

bool isToneKey(std::string_view key) {
    return key.size() == 1 && toneKeys.find(key[0]) != std::string_view::npos;
}

std::optional<std::string> keys(std::string_view canonicalSyllable) {
    auto keyOf = [](std::string_view symbol) -> std::optional<char> {
        for (const Row& row : rows) {
            bool matches = std::visit(
                [&](auto component) {
                    if constexpr (std::is_same_v<decltype(component), Syllable::Tone>)
                        return component != Syllable::Tone::tone1 && mark(component) == symbol;
                    else
                        return rawValue(component) == symbol;
                },
                row.component);
            if (matches) return row.key;
        }
        return std::nullopt;
    };
    std::string letters;
    char toneKey = ' ';
    for (std::string_view symbol : characterViews(canonicalSyllable)) {
        auto key = keyOf(symbol);
        if (!key || toneKey != ' ') return std::nullopt; // unknown symbol, or anything after the tone
        if (isTone(*component(std::string_view(&*key, 1))))
            toneKey = *key;
        else
            letters += *key;
    }
    if (letters.empty()) return std::nullopt;
    return letters + toneKey;
}

} // namespace kelvo::DachenLayout
