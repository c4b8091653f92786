#pragma once

#include "InputClient.hpp"
#include "Logger.hpp"

#include <functional>
#include <memory>
#include <string>

namespace kelvo::platform {

using HandlerFactory = std::function<std::unique_ptr<InputContextHandler>(InputClient& client)>;

// Runs this process as an IBus engine: connects to the daemon, offers the engine `engineName`
// through a factory, owns the bus name `connectionName`, and creates one handler per input context.
// Returns when the bus goes away; answers the exit status.
int runIBusServer(const std::string& engineName, const std::string& connectionName,
                  HandlerFactory makeHandler, Logger& log, const std::function<void()>& ready = {});

// Key events from IBus: the evdev key code and key state turned into the host's event model.
KeyEvent keyEventFromIBus(unsigned keyval, unsigned keycode, unsigned state, bool isRepeat, double timestamp);

} // namespace kelvo::platform
