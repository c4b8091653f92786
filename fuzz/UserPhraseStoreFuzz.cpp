// Feeds arbitrary bytes to the learned-data loader: it must never crash, it keeps only counts from
// 1 up, and whatever it keeps saves and loads back unchanged.
#include "PersonalData/LearnedData.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bool clean = true;
    auto parsed = kelvo::parseLearnedData(std::string_view(reinterpret_cast<const char*>(data), size), clean);
    if (!parsed) return 0;
    for (const auto* table :
         {&parsed->selections, &parsed->pendingWords, &parsed->words, &parsed->transitions})
        for (const auto& [key, counts] : *table)
            for (const auto& [value, count] : counts)
                if (count < 1) std::abort();
    bool cleanAgain = true;
    auto again = kelvo::parseLearnedData(kelvo::encodeLearnedData(*parsed), cleanAgain);
    if (!again || !cleanAgain || *again != *parsed) std::abort();
    return 0;
}
