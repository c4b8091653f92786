#include "ChildProcess.hpp"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kelvo::platform {

namespace {

// Spawns a program with its standard output and error on `output`; answers its process, or -1.
pid_t spawnWritingTo(const std::vector<std::string>& command, int output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> arguments;
    for (const std::string& part : command)
        arguments.push_back(const_cast<char*>(part.c_str()));
    arguments.push_back(nullptr);
    pid_t child = -1;
    int spawned = ::posix_spawnp(&child, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? child : -1;
}

int waitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

ChildResult runChild(const std::vector<std::string>& command) {
    ChildResult result;
    if (command.empty()) return result;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return result;
    pid_t child = spawnWritingTo(command, pipeEnds[1]);
    ::close(pipeEnds[1]);
    if (child > 0) {
        result.started = true;
        char buffer[4096];
        for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) break;
            result.output.append(buffer, static_cast<std::size_t>(got));
        }
        result.status = waitFor(child);
    }
    ::close(pipeEnds[0]);
    return result;
}

ChildResult runChildWritingTo(const std::vector<std::string>& command, int outputFile) {
    ChildResult result;
    if (command.empty()) return result;
    pid_t child = spawnWritingTo(command, outputFile);
    if (child <= 0) return result;
    result.started = true;
    result.status = waitFor(child);
    return result;
}

bool startChild(const std::vector<std::string>& command) {
    if (command.empty()) return false;
    std::vector<char*> arguments;
    for (const std::string& part : command)
        arguments.push_back(const_cast<char*>(part.c_str()));
    arguments.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID); // not in this process's group
    pid_t child = -1;
    int spawned = ::posix_spawnp(&child, arguments[0], nullptr, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) return false;
    // Reap it when it ends, without blocking this process.
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace kelvo::platform
