#include "app/FrameSeam.h"

#include <GLFW/glfw3.h>

namespace velorun {

namespace {
FrameSeam glfwSeam()
{
    return FrameSeam{[] { return glfwGetTime(); },
                     [](GLFWwindow* window, int key) { return glfwGetKey(window, key) == GLFW_PRESS; }};
}
} // namespace

FrameSeam& frameSeam()
{
    static FrameSeam seam = glfwSeam();
    return seam;
}

void useGlfwSeam() { frameSeam() = glfwSeam(); }

} // namespace velorun
