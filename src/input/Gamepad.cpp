#include "input/Gamepad.h"

namespace velorun::input {

bool readFirstGamepad(GLFWgamepadstate& state)
{
    for (int jid = GLFW_JOYSTICK_1; jid <= GLFW_JOYSTICK_LAST; ++jid) {
        if (glfwJoystickIsGamepad(jid) != GLFW_TRUE)
            continue;
        // It may have been unplugged since the question above.
        GLFWgamepadstate read;
        if (glfwGetGamepadState(jid, &read) != GLFW_TRUE)
            continue;
        state = read;
        return true;
    }
    return false;
}

} // namespace velorun::input
