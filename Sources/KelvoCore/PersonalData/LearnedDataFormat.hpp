#pragma once

#include "PersonalData/LearnedData.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

// The file's JSON for some data, and the data a file's JSON gives. The counts stay in the four
// tables every earlier version reads; when each entry was learned is kept beside them under
// "learnedAt", which earlier versions keep as they found it. `parseLearnedData` answers no value
// for text of neither known layout; `clean` is set false when anything had to be skipped.
std::string encodeLearnedData(const LearnedData& data);
std::optional<LearnedData> parseLearnedData(std::string_view json, bool& clean);

} // namespace kelvo
