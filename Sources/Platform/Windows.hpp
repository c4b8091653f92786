#pragma once

#include <string>

namespace kelvo::platform {

// Runs the process as an ordinary windowed application showing one window with a title and a note;
// answers the exit status when the application quits. `closeAfterMilliseconds` (tests) quits it.
int runSimpleWindow(const std::string& title, const std::string& note, int closeAfterMilliseconds = -1);

} // namespace kelvo::platform
