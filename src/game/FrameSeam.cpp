#include "game/FrameSeam.h"

#include "game/FullScreen.h"
#include "game/GameState.h"
#include "input/Gamepad.h"
#include "input/PressQueue.h"

#include <GLFW/glfw3.h>

namespace velorun {

namespace {

// `gamepadHeld`: what the gamepad held at the previous frame, so that Start
// going down is one press however long it is held. It outlives a run: Start
// still held as the new run starts must not pause it.
void readGlfwKeys(GLFWwindow* window, input::FrameInput& in, input::KeySet& gamepadHeld)
{
    in.keyboard = 0;
    for (int key : input::heldKeys)
        if (key <= GLFW_KEY_LAST && glfwGetKey(window, key) == GLFW_PRESS)
            in.keyboard |= input::keyBit(key);
    GLFWgamepadstate pad = input::restingGamepad();
    in.gamepad = input::readFirstGamepad(pad) ? input::gamepadKeys(pad) : 0;
    in.presses.clear();
    takeWindowPresses(window, in);
    input::addPresses(gamepadHeld, in.gamepad, in.presses);
    gamepadHeld = in.gamepad;
}

} // namespace

FrameSeam glfwSeam()
{
    return FrameSeam{[] { return glfwGetTime(); },
                     [gamepadHeld = input::KeySet{0}](GLFWwindow* window, input::FrameInput& in) mutable {
                         readGlfwKeys(window, in, gamepadHeld);
                     },
                     [] { glfwWaitEventsTimeout(pausedGamepadInterval); },
                     [](GLFWwindow* window) { toggleFullScreen(window, windowedPlacement); }, nullptr};
}

void useGlfwSeam() { seam = glfwSeam(); }

void takeWindowPresses(GLFWwindow* window, input::FrameInput& input)
{
    const bool away =
        input::attentionLostPending() && (glfwGetWindowAttrib(window, GLFW_FOCUSED) != GLFW_TRUE ||
                                          glfwGetWindowAttrib(window, GLFW_ICONIFIED) == GLFW_TRUE ||
                                          framebufferSize.x <= 0 || framebufferSize.y <= 0);
    input::takePendingPresses(input, away);
}

} // namespace velorun
