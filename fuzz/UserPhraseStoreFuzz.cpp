// Feeds arbitrary bytes to the learned-data loader: it must never crash, it keeps only counts from
// 1 up, and whatever it keeps saves and loads back unchanged.
#include "PersonalData/LearnedDataFormat.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bool clean = true;
    auto parsed = kelvo::parseLearnedData(std::string_view(reinterpret_cast<const char*>(data), size), clean);
    if (!parsed) return 0;
    for (const auto& table : kelvo::LearnedData::tables())
        for (const auto& [key, row] : (*parsed).*table.member)
            for (const auto& [value, use] : row)
                if (use.count < 1 || use.time < 0) std::abort();
    bool cleanAgain = true;
    auto again = kelvo::parseLearnedData(kelvo::encodeLearnedData(*parsed), cleanAgain);
    if (!again || !cleanAgain || *again != *parsed) std::abort();
    return 0;
}
