#pragma once

#include <string>

namespace kelvo::platform {

// Presses and releases, through the X server's test extension, the key that types `characters`
// ("\r": Return) or the key of that X name ("Down"), so that it travels the whole input path as a
// keyboard's key would. False without an X display or a key for it.
bool pressKeyThroughXServer(const std::string& characters);

// Moves the pointer to a point of the screen (pixels from its top left) and clicks the left button
// there, through the same extension. False without an X display.
bool clickThroughXServer(int x, int y);

} // namespace kelvo::platform
