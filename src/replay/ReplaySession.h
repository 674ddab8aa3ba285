#pragma once

#include "game/LaunchSettings.h"

#include <string>

namespace velorun {

// A whole session kept in the file at `path` as it is played (--record), in a
// `window` as the command line asked for it; returns the exit status.
int recordSession(const std::string& path, const LaunchSettings& window);

// The session in the file at `path` played back at its recorded pace
// (--replay) or as fast as it goes (--timedemo); returns the exit status. A
// file that cannot be played ends the process with its message and status 1
// before any window opens.
int replaySession(const std::string& path, bool timedemo);

// Which build of the game is running: the compiler, the machine and a
// fingerprint of the program file, enough to warn when a recording comes from
// another build (whose arithmetic may differ in the last bit).
std::string buildIdentity();

} // namespace velorun
