#include "app/FrameSeam.h"

#include "app/GameState.h"
#include "input/Gamepad.h"
#include "input/GamepadMapping.h"

#include <GLFW/glfw3.h>
#include <utility>

namespace velorun {

FrameSeam glfwSeam()
{
    auto keyboard = [](GLFWwindow* window, int key) {
        if (key > GLFW_KEY_LAST)
            return false;
        const bool tapped = unreadKeyPresses.erase(key) > 0;
        return glfwGetKey(window, key) == GLFW_PRESS || tapped;
    };
    return FrameSeam{[] { return glfwGetTime(); }, keysWithGamepad(keyboard, input::readFirstGamepad),
                     [] { glfwWaitEventsTimeout(pausedGamepadInterval); }};
}

FrameSeam& frameSeam() { return seam; }

void useGlfwSeam() { seam = glfwSeam(); }

std::function<bool(GLFWwindow*, int key)> keysWithGamepad(std::function<bool(GLFWwindow*, int key)> keyboard,
                                                          GamepadReader gamepad)
{
    return [keyboard = std::move(keyboard), gamepad = std::move(gamepad)](GLFWwindow* window, int key) {
        if (keyboard(window, key))
            return true;
        GLFWgamepadstate state = input::restingGamepad();
        return gamepad(state) && input::gamepadHoldsKey(state, key);
    };
}

} // namespace velorun
