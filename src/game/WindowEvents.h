#pragma once

struct GLFWwindow;

namespace velorun {

// The window's events besides its keys. Its framebuffer's size and whether it
// is minimised are kept for the frame (game/GameState.h); losing the focus or
// being minimised reaches the frame as a press of input::focusLostKey, which
// pauses a run.
void framebufferSizeCallback(GLFWwindow* window, int width, int height);
void windowIconifyCallback(GLFWwindow* window, int iconified);
void windowFocusCallback(GLFWwindow* window, int focused);

// Installs the three on the game's window and takes its size and state as
// they stand.
void watchWindow(GLFWwindow* window);

// Brings the picture to the window's latest size: when it differs from the
// one the scene was projected for, the scene's projection follows it (each
// pass sets its viewport as it begins) and a paused game's still picture is
// drawn again. False while the
// window has no area, when nothing is to be drawn into it; the projection for
// its last size stays until it has one again.
bool followWindowSize();

} // namespace velorun
