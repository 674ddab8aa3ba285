#pragma once

#include "input/FrameInput.h"

namespace velorun {

// The keys that steer a run rather than the car: R or Enter, P, and a
// gamepad's Start. Each field says whether that key went down since the
// previous frame.
struct CommandKeys {
    bool raceAgain = false; // R or Enter
    bool pause = false; // P
    bool start = false; // a gamepad's Start
    bool focusLost = false; // the window lost the focus or was minimised
};

enum class RunCommand { None, RaceAgain, Pause, Resume };

// What one frame's presses ask of the run. After GAME OVER, R, Enter and
// Start race again; while racing, P and Start pause; while paused, P and
// Start resume. Every other mix does nothing, so no run is lost to a stray
// key and P means nothing once the run is over. The window losing the focus
// pauses a run as P does, and keeps a paused one paused even beside a P of
// the same frame: a player who looked away comes back to a still game, which
// only P or Start sets going again.
RunCommand runCommand(const CommandKeys& presses, bool gameOver, bool paused);

// The command keys a frame's input pressed.
CommandKeys commandPresses(const input::FrameInput& input);

// Whether `command` is one that runCommand answers (the rest are toggles).
bool isRunCommand(input::Command command);

} // namespace velorun
