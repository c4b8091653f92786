#include "Logger.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <syslog.h>
#include <unistd.h>

namespace kelvo::platform {

SystemLogger::SystemLogger(std::string identifier) : identifier_(std::move(identifier)) {
    const char* mirror = std::getenv("KELVO_LOG_STDERR");
    alsoStandardError_ = mirror && std::strcmp(mirror, "1") == 0;
    journalListening_ = ::access("/dev/log", W_OK) == 0;
    ::openlog(identifier_.c_str(), LOG_PID | LOG_NDELAY, LOG_USER);
}

SystemLogger::~SystemLogger() {
    ::closelog();
}

void SystemLogger::log(Level level, std::string_view message) {
    int priority = LOG_NOTICE;
    switch (level) {
    case Level::standard:
        priority = LOG_NOTICE;
        break;
    case Level::info:
        priority = LOG_INFO;
        break;
    case Level::error:
        priority = LOG_ERR;
        break;
    case Level::fault:
        priority = LOG_CRIT;
        break;
    }
    if (journalListening_) ::syslog(priority, "%.*s", static_cast<int>(message.size()), message.data());
    if (alsoStandardError_)
        std::fprintf(stderr, "%s: %.*s\n", identifier_.c_str(), static_cast<int>(message.size()),
                     message.data());
}

} // namespace kelvo::platform
