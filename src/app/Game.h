#pragma once

#include "app/CommandLine.h"

struct GLFWwindow;

namespace velorun::input {
struct FrameInput;
}

namespace velorun {

// Start-up up to the first frame: GLFW, command line, window, GLEW, debug
// output, scene and text. Fatal problems end the process from in here.
GLFWwindow* startUp(int argc, const char* const* argv);

// One iteration of the frame loop. False when the loop is over: the window
// was closed (no frame is drawn then) or Escape was down during this frame.
bool runFrame(GLFWwindow* window);

// The car's motion within a frame, which runFrame runs while the game is on:
// the arrow keys held in the frame's input steer `car` (stage 7), then it drives
// forward and `camera` follows (stage 8). They need no GL context, so long
// stretches of game time can be driven without drawing.
void steerCar(const input::FrameInput& input, float dt);
void driveCar(float dt);

// Starts a new run: the run's state (scene/RunState.h) afresh, the particle
// system rewound, the crash and bursts silenced and the engine due again, and,
// once the scene is set up, the car at its starting place and speed with the
// camera, tube and lights where a run starts. `now` is the clock's reading the
// next frame steps from. Racing again, shutdown and the test fixtures use it
// alike; the best score, the display settings and every program-lifetime
// object stay.
void resetRun(double now);

// Destroys every GL object the game holds, while the context is current, and
// puts all program-wide state back to its start value (resetRun included).
// Shutdown and every test fixture use it.
void releaseResources();

// releaseResources, then glfwTerminate.
void shutDown();

// The whole game: start-up, frames until the player leaves, shutdown; returns 0.
// --help and --version are answered first and end the process.
int runGame(int argc, const char* const* argv);

} // namespace velorun
