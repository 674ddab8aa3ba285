#pragma once

#include <functional>

struct GLFWwindow;
struct GLFWgamepadstate;

namespace velorun {

// The frame loop's clock and key state. The game uses GLFW's; a test or a tool
// swaps in a fixed-step clock and a key script to run the real frames.
struct FrameSeam {
    std::function<double()> now;
    std::function<bool(GLFWwindow*, int key)> keyDown;
    // How a paused game waits for the player instead of drawing frames.
    std::function<void()> waitForInput;
};

// How long a paused game sleeps between looks at the gamepad, which sends no
// events to wake it: Start still resumes at once, at next to no CPU cost.
constexpr double pausedGamepadInterval = 0.05;

// GLFW's clock, keyboard and event wait. A command key pressed and released
// between two frames still reads as down once (unreadKeyPresses).
FrameSeam glfwSeam();

// The seam the frame loop uses (`seam` in app/GameState.h).
FrameSeam& frameSeam();

// Puts GLFW's clock and keyboard back.
void useGlfwSeam();

// Fills in a gamepad's state; false when no gamepad is there.
using GamepadReader = std::function<bool(GLFWgamepadstate&)>;

// Key state that also counts what a gamepad holds down, so that steering and
// Escape see one kind of input. The game pairs GLFW's keyboard with the first
// connected gamepad.
std::function<bool(GLFWwindow*, int key)> keysWithGamepad(std::function<bool(GLFWwindow*, int key)> keyboard,
                                                          GamepadReader gamepad);

} // namespace velorun
