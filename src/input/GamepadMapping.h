#pragma once

#include <GLFW/glfw3.h>

namespace velorun::input {

// How far the left stick must lean along an axis before it counts as the
// arrow key of that direction; a resting stick drifts well short of this.
constexpr float stickDeadZone = 0.35f;

// Start has no keyboard key of its own (it races again after GAME OVER and
// pauses a run), so the frame loop asks for it under this code, which no
// keyboard key has.
constexpr int startButtonKey = GLFW_KEY_LAST + 1;

// Whether a gamepad in `state` holds down the keyboard key `key`: the D-pad
// and the left stick stand for the four arrow keys, Back for Escape, Start for
// startButtonKey. Any other key is never held by a gamepad.
bool gamepadHoldsKey(const GLFWgamepadstate& state, int key);

// A gamepad with nothing pressed and both sticks at rest.
GLFWgamepadstate restingGamepad();

} // namespace velorun::input
