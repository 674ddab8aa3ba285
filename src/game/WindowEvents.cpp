#include "game/WindowEvents.h"

#include "game/GameState.h"
#include "input/PressQueue.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "render/Projections.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace velorun {

void framebufferSizeCallback(GLFWwindow*, int width, int height)
{
    framebufferSize = glm::ivec2(width, height);
    // A window without an area shows the player nothing: as good as away.
    if (width <= 0 || height <= 0)
        input::attentionLost();
}

void windowIconifyCallback(GLFWwindow*, int iconified)
{
    windowMinimised = iconified == GLFW_TRUE;
    if (windowMinimised)
        input::attentionLost();
}

void windowFocusCallback(GLFWwindow*, int focused)
{
    if (focused != GLFW_TRUE)
        input::attentionLost();
}

void watchWindow(GLFWwindow* window)
{
    glfwSetFramebufferSizeCallback(window, framebufferSizeCallback);
    glfwSetWindowIconifyCallback(window, windowIconifyCallback);
    glfwSetWindowFocusCallback(window, windowFocusCallback);
    glfwGetFramebufferSize(window, &framebufferSize.x, &framebufferSize.y);
    windowMinimised = glfwGetWindowAttrib(window, GLFW_ICONIFIED) == GLFW_TRUE;
    // A game that starts where the player cannot see it waits, paused, as it
    // would had its window gone away later.
    if (windowMinimised || framebufferSize.x <= 0 || framebufferSize.y <= 0)
        input::attentionLost();
}

bool followWindowSize()
{
    const ViewportChange change = viewportChange(projectedSize, framebufferSize, windowMinimised);
    if (change.reproject) {
        uploadSceneProjection(framebufferSize);
        repaintPending = true;
    }
    return change.draw;
}

} // namespace velorun
