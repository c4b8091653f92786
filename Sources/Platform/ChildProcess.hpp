#pragma once

#include <string>
#include <vector>

namespace kelvo::platform {

struct ChildResult {
    bool started = false;
    int status = -1;    // the exit status; -1 when the program could not be started or did not exit
    std::string output; // standard output and standard error together
};

// Runs a program found on PATH with its arguments and waits for it.
ChildResult runChild(const std::vector<std::string>& command);

// Runs a program with its standard output and error written to an open file, and waits for it.
ChildResult runChildWritingTo(const std::vector<std::string>& command, int outputFile);

// Starts a program and does not wait for it; false when it could not be started.
bool startChild(const std::vector<std::string>& command);

} // namespace kelvo::platform
