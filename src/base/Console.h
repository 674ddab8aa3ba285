#pragma once

#include "base/BaseState.h"

namespace velorun {

// Waits for a key press before a fatal exit so a player who started the game
// from a console can read the message. Only waits when standard input is a
// terminal: scripts, tests and CI must never hang on a failed start.
void pauseConsole();

// Prints nothing itself: callers have written their message already.
// Releases what the hook says (GL objects while the context is still current),
// pauses and ends the process with the given status.
[[noreturn]] void fatalExit(int status);

// Installs fatalExitHook (base/BaseState.h).
void setFatalExitHook(FatalExitHook hook);

} // namespace velorun
