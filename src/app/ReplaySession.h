#pragma once

#include "app/CommandLine.h"

#include <string>

namespace velorun {

// Runs a --record, --replay or --timedemo session from start-up to shutdown
// and returns the exit status. A replay file that cannot be played ends the
// process with its message and status 1 before any window opens.
int runSession(const SessionRequest& request);

// Which build of the game is running: the compiler, the machine and a
// fingerprint of the program file, enough to warn when a recording comes from
// another build (whose arithmetic may differ in the last bit).
std::string buildIdentity();

} // namespace velorun
