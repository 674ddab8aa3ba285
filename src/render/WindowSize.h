#pragma once

#include <glm/glm.hpp>

struct GLFWwindow;

namespace velorun {

// The window's client-area size in screen coordinates. On X11 every
// glfwGetWindowSize is a round trip to the server, and the lens flares ask for
// the size once per light and once per element, up to 72 times a frame. A
// tracked window keeps its size from GLFW's size events instead, which carry
// the same values; any other window is asked directly.
void trackWindowSize(GLFWwindow* window);
void untrackWindowSize();
glm::ivec2 windowSize(GLFWwindow* window);

} // namespace velorun
