#pragma once

#include <filesystem>

namespace kelvo::platform {

// $XDG_DATA_HOME, default ~/.local/share: where Application Support and Library folders live.
std::filesystem::path dataHome();
// $XDG_CONFIG_HOME, default ~/.config.
std::filesystem::path configHome();
// Where the per-user installer puts Kelvo.app: $XDG_DATA_HOME/Input Methods/Kelvo.app.
std::filesystem::path userBundleLocation();

} // namespace kelvo::platform
