#include "game/WindowEvents.h"

#include "input/PressQueue.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "render/Projections.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace velorun {

GameWindow gameWindow;

void resetGameWindow() { gameWindow = GameWindow{}; }

namespace {

// Nothing the window shows reaches the player: it is minimised, or it has no
// area to show anything in.
bool outOfSight(bool minimised, glm::ivec2 size) { return minimised || size.x <= 0 || size.y <= 0; }

} // namespace

void framebufferSizeCallback(GLFWwindow*, int width, int height)
{
    gameWindow.framebufferSize = glm::ivec2(width, height);
    if (outOfSight(false, gameWindow.framebufferSize))
        input::attentionLost();
}

void windowIconifyCallback(GLFWwindow*, int iconified)
{
    gameWindow.minimised = iconified == GLFW_TRUE;
    if (gameWindow.minimised)
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
    glm::ivec2& size = gameWindow.framebufferSize;
    glfwGetFramebufferSize(window, &size.x, &size.y);
    gameWindow.minimised = glfwGetWindowAttrib(window, GLFW_ICONIFIED) == GLFW_TRUE;
    // A game that starts where the player cannot see it waits, paused, as it
    // would had its window gone away later.
    if (outOfSight(gameWindow.minimised, size))
        input::attentionLost();
}

bool playerAway(GLFWwindow* window)
{
    return glfwGetWindowAttrib(window, GLFW_FOCUSED) != GLFW_TRUE ||
           outOfSight(glfwGetWindowAttrib(window, GLFW_ICONIFIED) == GLFW_TRUE, gameWindow.framebufferSize);
}

bool followWindowSize()
{
    const ViewportChange change =
        viewportChange(projected.size, gameWindow.framebufferSize, gameWindow.minimised);
    if (change.reproject) {
        uploadSceneProjection(gameWindow.framebufferSize);
        gameWindow.repaintPending = true;
    }
    return change.draw;
}

} // namespace velorun
