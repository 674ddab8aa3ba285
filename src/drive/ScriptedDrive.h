#pragma once

#include "input/FrameInput.h"
#include "scene/Cube.h"

#include <functional>
#include <glm/glm.hpp>
#include <set>

struct GLFWwindow;

namespace velorun {

// Drives the real game frame by frame: a fixed-step clock and a set of held
// keys replace GLFW's in the frame seam, and runFrame runs the genuine
// stages. A key of input::pressKeys is pressed in the frame where it starts
// being held; input::startButtonKey stands for a gamepad's Start. The
// scenario tests, the soak test, the benchmark and the screenshot tool all
// drive the game through it.
class ScriptedDrive {
public:
    // Installs the clock, at 0, and the held keys, none yet.
    ScriptedDrive();
    // Ends the run (finish).
    ~ScriptedDrive();
    ScriptedDrive(const ScriptedDrive&) = delete;
    ScriptedDrive& operator=(const ScriptedDrive&) = delete;

    // The game's start-up with a width x height window, which is then hidden
    // so that it never covers other windows; drawing goes on into its buffers.
    GLFWwindow* start(int width, int height);

    // Advances the clock by dt seconds and runs one frame; returns runFrame's result.
    bool frame(double dt);

    void hold(int key) { keys_.insert(key); }
    void release(int key) { keys_.erase(key); }
    void releaseAll() { keys_.clear(); }

    // A gamepad beside the held keys: it fills in the pad's state and says
    // whether one is connected.
    using GamepadReader = std::function<bool(GLFWgamepadstate&)>;
    void useGamepad(GamepadReader gamepad) { gamepad_ = std::move(gamepad); }

    // What the held keys and the gamepad hold now, with no presses: the
    // input a frame would steer by.
    input::FrameInput heldInput() const;

    // Holds the arrow keys that carry the car towards `target` across the
    // tube, releasing the others; within `tolerance` on an axis, neither key
    // of that axis is held.
    void steerTowards(glm::vec2 target, float tolerance);

    double clock() const { return clock_; }
    GLFWwindow* window() const { return window_; }

    // The game's shutdown, if it was started, and GLFW's clock and keys back.
    void finish();

private:
    void readInput(input::FrameInput& in);

    GLFWwindow* window_ = nullptr;
    double clock_ = 0.0;
    std::set<int> keys_;
    std::set<int> pressKeysBefore_; // the press keys held at the previous frame
    input::KeySet gamepadBefore_ = 0;
    GamepadReader gamepad_;
};

// The obstacle nearest ahead of the car at z `carZ`, more than `margin` units
// ahead, or null when there is none.
const scene::Cube* nearestObstacleAhead(float carZ, float margin);

} // namespace velorun
