#pragma once

#include "game/FullScreen.h"

#include <functional>
#include <vector>

struct GLFWwindow;

namespace velorun::input {
struct FrameInput;
}

namespace velorun {

// Where the frame loop gets its clock and its player from. The game uses
// GLFW's; a test or a tool scripts them, and a replay feeds back what a
// recording kept.
struct FrameSeam {
    // The clock reading a frame steps to, asked once at the frame's start.
    std::function<double()> now;
    // The keys and gamepad, asked once a frame after the events are polled:
    // fills in everything of `input` but `now`. Presses are handed over once.
    std::function<void(GLFWwindow*, input::FrameInput& input)> readInput;
    // How a paused game waits for the player instead of drawing frames.
    std::function<void()> waitForInput;
    // What a press of F11 (or Alt+Enter) does to the window: GLFW's switch
    // to full screen and back. A replay leaves it empty: it shows the session
    // in the window it opened and never changes the watcher's display.
    std::function<void(GLFWwindow*)> toggleFullScreen;
    // Told of every frame that ran, at its very end, with what it read; may
    // be empty.
    std::function<void(const input::FrameInput&)> frameDone;
};

// How long a paused game sleeps between looks at the gamepad, which sends no
// events to wake it: Start still resumes at once, at next to no CPU cost.
constexpr double pausedGamepadInterval = 0.05;

// GLFW's clock, keyboard, first gamepad and event wait. The presses are the
// ones the window's handlers kept (input/PressQueue.h), plus Start going down,
// which the reader tells from what the gamepad held the frame before. F11
// keeps the window's place and size in `windowedPlacement` while it is full
// screen.
FrameSeam glfwSeam(ScreenRect& windowedPlacement);

// The seam the frame loop uses: GLFW's, unless a test or tool scripts it.
extern FrameSeam seam;

// Puts GLFW's clock and keyboard back.
void useGlfwSeam();

} // namespace velorun
