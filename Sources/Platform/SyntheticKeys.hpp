#pragma once

#include <string>

namespace kelvo::platform {

// Presses and releases the key that types `characters` ("\r": Return) through the X server's test
// extension, so that it travels the whole input path as a keyboard's key would. False without an X
// display or a key for it.
bool pressKeyThroughXServer(const std::string& characters);

} // namespace kelvo::platform
