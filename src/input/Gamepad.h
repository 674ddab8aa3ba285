#pragma once

// GLEW's header first, as everywhere: GLFW's would bring in the system's gl.h.
#include <GL/glew.h>

#include <GLFW/glfw3.h>

namespace velorun::input {

// The state of the first connected joystick that GLFW knows as a gamepad
// (through its built-in mappings); false, with `state` untouched, when none is
// connected. Asked afresh on every call, so a pad may come and go at any time.
bool readFirstGamepad(GLFWgamepadstate& state);

} // namespace velorun::input
