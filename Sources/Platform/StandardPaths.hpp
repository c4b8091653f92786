#pragma once

#include <filesystem>

namespace kelvo::platform {

// $XDG_DATA_HOME, default ~/.local/share: where Application Support and Library folders live.
std::filesystem::path dataHome();
// $XDG_CONFIG_HOME, default ~/.config.
std::filesystem::path configHome();

} // namespace kelvo::platform
