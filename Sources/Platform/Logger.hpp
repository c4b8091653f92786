#pragma once

#include <string>
#include <string_view>

namespace kelvo::platform {

// The program's one log: journald through syslog(3) under the bundle identifier. Levels default,
// info, error and fault map to notice, info, err and crit. KELVO_LOG_STDERR=1 also writes each line
// to standard error (tests read it there).
class Logger {
public:
    enum class Level { standard, info, error, fault };

    virtual ~Logger() = default;
    virtual void log(Level level, std::string_view message) = 0;
    // Whether a line would go anywhere: callers on the key path build none otherwise.
    virtual bool isRecording() const { return true; }
};

class SystemLogger : public Logger {
public:
    explicit SystemLogger(std::string identifier);
    ~SystemLogger() override;
    void log(Level level, std::string_view message) override;
    bool isRecording() const override { return journalListening_ || alsoStandardError_; }

private:
    std::string identifier_; // syslog keeps a pointer to it
    bool alsoStandardError_;
    bool journalListening_; // without its socket, syslog(3) would try to connect on every line
};

} // namespace kelvo::platform
