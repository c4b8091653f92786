// Feeds arbitrary bytes to the shortcut loader: it must never crash, and it keeps only valid
// shortcuts.
#include "PersonalData/CustomTextStore.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bool clean = true;
    auto parsed =
        kelvo::CustomTextStore::parse(std::string_view(reinterpret_cast<const char*>(data), size), clean);
    if (!parsed) return 0;
    for (const auto& [trigger, text] : *parsed)
        if (!kelvo::CustomTextStore::validTrigger(trigger) || text.empty()) std::abort();
    auto again = kelvo::CustomTextStore::parse(kelvo::CustomTextStore::encoded(*parsed), clean);
    if (!again || *again != *parsed) std::abort();
    return 0;
}
