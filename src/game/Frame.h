#pragma once

struct GLFWwindow;

namespace velorun::input {
struct FrameInput;
}

namespace velorun {

// One iteration of the frame loop, its fifteen stages in order. False when the
// loop is over: the window was closed (no frame is drawn then) or Escape was
// down during this frame.
bool runFrame(GLFWwindow* window);

// The car's motion within a frame, which runFrame runs while the game is on:
// the arrow keys held in the frame's input steer `car` (stage 7), then it drives
// forward and `camera` follows (stage 8). They need no GL context, so long
// stretches of game time can be driven without drawing.
void steerCar(const input::FrameInput& input, float dt);
void driveCar(float dt);

} // namespace velorun
