#include "drive/ScriptedDrive.h"

#include "game/Frame.h"
#include "game/FrameSeam.h"
#include "game/FullScreen.h"
#include "game/StartUp.h"
#include "game/WindowEvents.h"
#include "input/PressQueue.h"
#include "lighting/SceneState.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <GLFW/glfw3.h>
#include <string>

namespace velorun {

ScriptedDrive::ScriptedDrive()
{
    seam.now = [this] { return clock_; };
    seam.readInput = [this](GLFWwindow*, input::FrameInput& in) { readInput(in); };
    // A paused game's frames only look at the events; the script's clock and
    // keys say when it goes on.
    seam.waitForInput = [] { glfwPollEvents(); };
    seam.toggleFullScreen = [](GLFWwindow* window) {
        toggleFullScreen(window, gameWindow.windowedPlacement);
    };
    seam.frameDone = nullptr;
}

input::FrameInput ScriptedDrive::heldInput() const
{
    input::FrameInput in;
    for (int key : input::heldKeys)
        if (keys_.count(key))
            (key == input::startButtonKey ? in.gamepad : in.keyboard) |= input::keyBit(key);
    GLFWgamepadstate pad = input::restingGamepad();
    if (gamepad_ && gamepad_(pad))
        in.gamepad |= input::gamepadKeys(pad);
    return in;
}

void ScriptedDrive::readInput(input::FrameInput& in)
{
    const input::FrameInput held = heldInput();
    in.keyboard = held.keyboard;
    in.gamepad = held.gamepad;
    in.presses.clear();
    // Presses handed to the key handler directly come first, as GLFW's would.
    input::takePendingPresses(in, input::attentionLostPending() && playerAway(window_));
    std::set<int> pressKeysNow;
    for (const input::PressKey& pressKey : input::pressKeys) {
        const int key = pressKey.key;
        if (key == input::startButtonKey || !keys_.count(key))
            continue;
        pressKeysNow.insert(key);
        if (!pressKeysBefore_.count(key))
            in.presses.push_back(key);
    }
    pressKeysBefore_ = pressKeysNow;
    input::addPresses(gamepadBefore_, in.gamepad, in.presses);
    gamepadBefore_ = in.gamepad;
}

ScriptedDrive::~ScriptedDrive() { finish(); }

GLFWwindow* ScriptedDrive::start(int width, int height)
{
    window_ = startUp(LaunchSettings{width, height, false});
    // Hidden, the window has no focus of its own to lose: a script that means
    // the player to look away says so through windowFocusCallback.
    glfwSetWindowFocusCallback(window_, nullptr);
    glfwHideWindow(window_);
    return window_;
}

bool ScriptedDrive::frame(double dt)
{
    clock_ += dt;
    return runFrame(window_);
}

void ScriptedDrive::steerTowards(glm::vec2 target, float tolerance)
{
    const glm::vec3 p = scene::positionOf(car->modelMatrix);
    const glm::vec2 offset = target - glm::vec2(p.x, p.y);
    const struct {
        int key;
        bool wanted;
    } arrows[] = {{GLFW_KEY_RIGHT, offset.x > tolerance},
                  {GLFW_KEY_LEFT, offset.x < -tolerance},
                  {GLFW_KEY_UP, offset.y > tolerance},
                  {GLFW_KEY_DOWN, offset.y < -tolerance}};
    for (const auto& arrow : arrows) {
        if (arrow.wanted)
            hold(arrow.key);
        else
            release(arrow.key);
    }
}

void ScriptedDrive::finish()
{
    if (window_) {
        shutDown();
        window_ = nullptr;
    }
    useGlfwSeam();
}

const scene::Cube* nearestObstacleAhead(float carZ, float margin)
{
    const scene::Cube* nearest = nullptr;
    for (const auto& cube : run.cubes) {
        const float z = cube->modelMatrix[3][2];
        if (z < carZ - margin && (!nearest || z > nearest->modelMatrix[3][2]))
            nearest = cube.get();
    }
    return nearest;
}

} // namespace velorun
