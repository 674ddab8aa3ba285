#include "render/WindowSize.h"

#include <GLFW/glfw3.h>

namespace velorun {

namespace {
GLFWwindow* trackedWindow = nullptr;
glm::ivec2 trackedSize{0, 0};

void onWindowSize(GLFWwindow* window, int width, int height)
{
    if (window == trackedWindow)
        trackedSize = glm::ivec2(width, height);
}
} // namespace

void trackWindowSize(GLFWwindow* window)
{
    trackedWindow = window;
    glfwGetWindowSize(window, &trackedSize.x, &trackedSize.y);
    glfwSetWindowSizeCallback(window, onWindowSize);
}

void untrackWindowSize()
{
    if (trackedWindow)
        glfwSetWindowSizeCallback(trackedWindow, nullptr);
    trackedWindow = nullptr;
}

glm::ivec2 windowSize(GLFWwindow* window)
{
    if (window && window == trackedWindow)
        return trackedSize;
    glm::ivec2 size{0, 0};
    glfwGetWindowSize(window, &size.x, &size.y);
    return size;
}

} // namespace velorun
