#pragma once

#include "game/FullScreen.h"

#include <glm/glm.hpp>

struct GLFWwindow;

namespace velorun {

// The game's window as its events last told it.
struct GameWindow {
    // Its framebuffer's size in pixels (a replay sets the recorded one).
    glm::ivec2 framebufferSize{0};
    bool minimised = false;
    // Where the window was, and how large, before it went full screen: F11
    // puts it back there.
    ScreenRect windowedPlacement;
    // The still picture of a paused game must be drawn again (the window was
    // exposed, or a key may have changed what it shows).
    bool repaintPending = false;
};

extern GameWindow gameWindow;

// Back to the start value, before any window was watched.
void resetGameWindow();

// The window's events besides its keys: its size and whether it is
// minimised are kept in gameWindow; losing the focus or being minimised
// reaches the frame as a press of input::focusLostKey, which pauses a run.
void framebufferSizeCallback(GLFWwindow* window, int width, int height);
void windowIconifyCallback(GLFWwindow* window, int iconified);
void windowFocusCallback(GLFWwindow* window, int focused);

// Installs the three on the game's window and takes its size and state as
// they stand.
void watchWindow(GLFWwindow* window);

// Whether the player cannot see `window` now: it lacks the focus, is
// minimised or has no area.
bool playerAway(GLFWwindow* window);

// Brings the picture to the window's latest size: when it differs from the
// one the scene was projected for, the scene's projection follows it (each
// pass sets its viewport as it begins) and a paused game's still picture is
// drawn again. False while the window has no area, when nothing is to be
// drawn into it; the projection for its last size stays until it has one
// again.
bool followWindowSize();

} // namespace velorun
