#include "app/FrameSeam.h"

#include "app/FullScreen.h"
#include "app/GameState.h"
#include "app/WindowEvents.h"
#include "input/Gamepad.h"

#include <GLFW/glfw3.h>

namespace velorun {

namespace {

void readGlfwKeys(GLFWwindow* window, input::FrameInput& in)
{
    in.keyboard = 0;
    for (int key : input::heldKeys)
        if (key <= GLFW_KEY_LAST && glfwGetKey(window, key) == GLFW_PRESS)
            in.keyboard |= input::keyBit(key);
    GLFWgamepadstate pad = input::restingGamepad();
    in.gamepad = input::readFirstGamepad(pad) ? input::gamepadKeys(pad) : 0;
    in.presses.clear();
    takePendingPresses(window, in);
    input::addPresses(gamepadHeld, in.gamepad, in.presses);
    gamepadHeld = in.gamepad;
}

} // namespace

FrameSeam glfwSeam()
{
    return FrameSeam{[] { return glfwGetTime(); }, readGlfwKeys,
                     [] { glfwWaitEventsTimeout(pausedGamepadInterval); }, toggleFullScreen, nullptr};
}

FrameSeam& frameSeam() { return seam; }

void useGlfwSeam() { seam = glfwSeam(); }

void takePendingPresses(GLFWwindow* window, input::FrameInput& input)
{
    for (int key : pendingPresses) {
        if (key == GLFW_KEY_ESCAPE)
            input.keyboard |= input::keyBit(GLFW_KEY_ESCAPE);
        else if (key != input::focusLostKey || !playerHasWindow(window))
            input.presses.push_back(key);
    }
    pendingPresses.clear();
}

} // namespace velorun
