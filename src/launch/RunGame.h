#pragma once

namespace velorun {

// The whole program: --help and --version answered, a session recorded or
// played back, or the game from start-up through its frames to shutdown;
// returns the exit status. Bad arguments end the process with their message.
int runGame(int argc, const char* const* argv);

} // namespace velorun
