#include "app/FrameSeam.h"

#include "app/GameState.h"

#include <GLFW/glfw3.h>

namespace velorun {

FrameSeam glfwSeam()
{
    return FrameSeam{[] { return glfwGetTime(); },
                     [](GLFWwindow* window, int key) { return glfwGetKey(window, key) == GLFW_PRESS; }};
}

FrameSeam& frameSeam() { return seam; }

void useGlfwSeam() { seam = glfwSeam(); }

} // namespace velorun
