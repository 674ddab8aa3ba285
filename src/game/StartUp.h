#pragma once

#include "game/LaunchSettings.h"

struct GLFWwindow;

// The program's beginning and end, and every run's beginning.
namespace velorun {

// GLFW started, or the fatal exit its failure is ("Failed to init glfw",
// status -1). Start-up begins with it.
void initGlfw();

// Start-up up to the first frame: GLFW, the window `settings` ask for, GLEW,
// debug output, scene and text. Fatal problems end the process from in here.
GLFWwindow* startUp(const LaunchSettings& settings);

// Starts a new run: the run's state (scene/RunState.h) afresh, the particle
// system rewound, the crash and bursts silenced and the engine due again, and,
// once the scene is set up, the car at its starting place and speed with the
// camera, tube and lights where a run starts. `now` is the clock's reading the
// next frame steps from. Racing again, shutdown and the test fixtures use it
// alike; the best score, the generator, the display settings and every
// program-lifetime object stay.
void resetRun(double now);

// Destroys every GL object the game holds, while the context is current, and
// puts all program-wide state back to its start value (resetRun included, the
// generator back where a new process starts it). Shutdown and every test
// fixture use it.
void releaseResources();

// releaseResources, then glfwTerminate.
void shutDown();

} // namespace velorun
