#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo::platform {

// The names by which the user knows the programs installed here, as words a user may type among
// Chinese: the executables in the folders of `searchPath` (a PATH value) and the program and name
// of every desktop entry in the "applications" folder of each data folder. Lower-cased, 3 to 24
// ASCII letters (digits after the first letter), sorted, each once.
std::vector<std::string> installedProgramNames(std::string_view searchPath,
                                               const std::vector<std::filesystem::path>& dataFolders);

// The user's and the system's data folders (XDG_DATA_HOME, then XDG_DATA_DIRS).
std::vector<std::filesystem::path> dataFolders();

} // namespace kelvo::platform
