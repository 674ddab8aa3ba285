#pragma once

#include <functional>

struct GLFWwindow;

namespace velorun {

// The frame loop's clock and key state. The game uses GLFW's; a test or a tool
// swaps in a fixed-step clock and a key script to run the real frames.
struct FrameSeam {
    std::function<double()> now;
    std::function<bool(GLFWwindow*, int key)> keyDown;
};

// GLFW's clock and keyboard.
FrameSeam glfwSeam();

// The seam the frame loop uses (`seam` in app/GameState.h).
FrameSeam& frameSeam();

// Puts GLFW's clock and keyboard back.
void useGlfwSeam();

} // namespace velorun
