#include "input/GamepadMapping.h"

namespace velorun::input {

namespace {

bool pressed(const GLFWgamepadstate& state, int button) { return state.buttons[button] == GLFW_PRESS; }

// GLFW's stick axes run -1 (left, up) to +1 (right, down).
float leftStick(const GLFWgamepadstate& state, int axis) { return state.axes[axis]; }

} // namespace

bool gamepadHoldsKey(const GLFWgamepadstate& state, int key)
{
    switch (key) {
    case GLFW_KEY_RIGHT:
        return pressed(state, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT) ||
               leftStick(state, GLFW_GAMEPAD_AXIS_LEFT_X) > stickDeadZone;
    case GLFW_KEY_LEFT:
        return pressed(state, GLFW_GAMEPAD_BUTTON_DPAD_LEFT) ||
               leftStick(state, GLFW_GAMEPAD_AXIS_LEFT_X) < -stickDeadZone;
    case GLFW_KEY_UP:
        return pressed(state, GLFW_GAMEPAD_BUTTON_DPAD_UP) ||
               leftStick(state, GLFW_GAMEPAD_AXIS_LEFT_Y) < -stickDeadZone;
    case GLFW_KEY_DOWN:
        return pressed(state, GLFW_GAMEPAD_BUTTON_DPAD_DOWN) ||
               leftStick(state, GLFW_GAMEPAD_AXIS_LEFT_Y) > stickDeadZone;
    case GLFW_KEY_ESCAPE:
        return pressed(state, GLFW_GAMEPAD_BUTTON_BACK);
    case startButtonKey:
        return pressed(state, GLFW_GAMEPAD_BUTTON_START);
    default:
        return false;
    }
}

GLFWgamepadstate restingGamepad()
{
    GLFWgamepadstate state{};
    for (unsigned char& button : state.buttons)
        button = GLFW_RELEASE;
    for (float& axis : state.axes)
        axis = 0.0f;
    return state;
}

} // namespace velorun::input
