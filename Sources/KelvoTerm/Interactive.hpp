#pragma once

#include "Session.hpp"

namespace kelvo::term {

// Kelvo in a terminal: raw keys in, the composition and its panels drawn, committed text kept on
// screen. The terminal is restored on every way out, signals included. Answers the exit status.
int runInteractive(const SharedResources& resources, const TermSettings& settings);

} // namespace kelvo::term
