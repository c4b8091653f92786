#pragma once

#include <string>

namespace kelvo::platform {

// Presses and releases, through the X server's test extension, the key that types `characters`
// ("\r": Return) or the key of that X name ("Down"), so that it travels the whole input path as a
// keyboard's key would. False without an X display or a key for it.
bool pressKeyThroughXServer(const std::string& characters);

} // namespace kelvo::platform
