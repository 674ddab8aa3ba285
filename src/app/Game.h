#pragma once

#include "app/CommandLine.h"

struct GLFWwindow;

namespace velorun {

// Start-up up to the first frame: GLFW, command line, window, GLEW, debug
// output, scene and text. Fatal problems end the process from in here.
GLFWwindow* startUp(int argc, const char* const* argv);

// One iteration of the frame loop. False when the loop is over: the window
// was closed (no frame is drawn then) or Escape was down during this frame.
bool runFrame(GLFWwindow* window);

// Destroys the scene's objects and everything else that holds GL objects,
// while the context is current.
void releaseResources();

// releaseResources, then glfwTerminate.
void shutDown();

// The whole game: start-up, frames until the player leaves, shutdown; returns 0.
int runGame(int argc, const char* const* argv);

} // namespace velorun
