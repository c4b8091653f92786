#pragma once

#include "InputClient.hpp"
#include "Logger.hpp"

#include <functional>
#include <memory>
#include <string>

namespace kelvo::platform {

// Runs this process as an IBus engine: connects to the daemon, offers the engine `engineName`
// through a factory, owns the bus name `connectionName`, and creates one handler per input context.
// Returns when the bus goes away; answers the exit status.
int runIBusServer(const std::string& engineName, const std::string& connectionName,
                  HandlerFactory makeHandler, Logger& log, const std::function<void()>& ready = {});

// Whether an IBus daemon answers on this session.
bool ibusIsRunning();

} // namespace kelvo::platform
