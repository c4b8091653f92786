// Feeds arbitrary bytes to the word-pair model: it either refuses them or answers every question
// without reading outside them (the sanitizers watch), and only with finite figures.
#include "Dictionary/WordPairModel.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::shared_ptr<const kelvo::WordPairModel> model;
    try {
        model = kelvo::WordPairModel::fromBytes(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const kelvo::WordPairModelError&) {
        return 0;
    }
    const std::size_t asked = std::min<std::size_t>(model->wordCount() + 2, 64);
    for (const char* text : {"", "自動", "刪除", "a"})
        (void)model->word(text);
    for (std::uint32_t previous = 0; previous < asked; ++previous)
        for (std::uint32_t next = 0; next < asked; ++next)
            if (!std::isfinite(model->contextAfter(previous, next))) std::abort();
    return 0;
}
