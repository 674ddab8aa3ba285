#include "game/FrameSeam.h"

#include "game/WindowEvents.h"
#include "input/Gamepad.h"
#include "input/PressQueue.h"

#include <GLFW/glfw3.h>

namespace velorun {

namespace {

// `gamepadHeld`: what the gamepad held at the previous frame, so that Start
// going down is one press however long it is held. It outlives a run: Start
// still held as the new run starts must not pause it.
void readGlfwInput(GLFWwindow* window, input::FrameInput& in, input::KeySet& gamepadHeld)
{
    in.keyboard = 0;
    for (int key : input::heldKeys)
        if (key <= GLFW_KEY_LAST && glfwGetKey(window, key) == GLFW_PRESS)
            in.keyboard |= input::keyBit(key);
    GLFWgamepadstate pad = input::restingGamepad();
    in.gamepad = input::readFirstGamepad(pad) ? input::gamepadKeys(pad) : 0;
    in.presses.clear();
    input::takePendingPresses(in, input::attentionLostPending() && playerAway(window));
    input::addPresses(gamepadHeld, in.gamepad, in.presses);
    gamepadHeld = in.gamepad;
}

} // namespace

FrameSeam seam = glfwSeam(gameWindow.windowedPlacement);

FrameSeam glfwSeam(ScreenRect& windowedPlacement)
{
    return FrameSeam{
        [] { return glfwGetTime(); },
        [gamepadHeld = input::KeySet{0}](GLFWwindow* window, input::FrameInput& in) mutable {
            readGlfwInput(window, in, gamepadHeld);
        },
        [] { glfwWaitEventsTimeout(pausedGamepadInterval); },
        [&windowedPlacement](GLFWwindow* window) { toggleFullScreen(window, windowedPlacement); }, nullptr};
}

void useGlfwSeam() { seam = glfwSeam(gameWindow.windowedPlacement); }

} // namespace velorun
