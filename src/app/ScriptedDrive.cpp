#include "app/ScriptedDrive.h"

#include "app/FrameSeam.h"
#include "app/Game.h"
#include "lighting/SceneState.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <GLFW/glfw3.h>
#include <string>

namespace velorun {

ScriptedDrive::ScriptedDrive()
{
    frameSeam().now = [this] { return clock_; };
    frameSeam().keyDown = [this](GLFWwindow*, int key) { return keys_.count(key) != 0; };
    // A paused game's frames only look at the events; the script's clock and
    // keys say when it goes on.
    frameSeam().waitForInput = [] { glfwPollEvents(); };
}

ScriptedDrive::~ScriptedDrive() { finish(); }

GLFWwindow* ScriptedDrive::start(int width, int height)
{
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    const char* argv[] = {"velorun", w.c_str(), h.c_str(), nullptr};
    window_ = startUp(3, argv);
    glfwHideWindow(window_);
    return window_;
}

bool ScriptedDrive::frame(double dt)
{
    clock_ += dt;
    return runFrame(window_);
}

void ScriptedDrive::steerTowards(glm::vec2 target, float tolerance)
{
    const glm::vec3 p = scene::positionOf(car->modelMatrix);
    const glm::vec2 offset = target - glm::vec2(p.x, p.y);
    const struct {
        int key;
        bool wanted;
    } arrows[] = {{GLFW_KEY_RIGHT, offset.x > tolerance},
                  {GLFW_KEY_LEFT, offset.x < -tolerance},
                  {GLFW_KEY_UP, offset.y > tolerance},
                  {GLFW_KEY_DOWN, offset.y < -tolerance}};
    for (const auto& arrow : arrows) {
        if (arrow.wanted)
            hold(arrow.key);
        else
            release(arrow.key);
    }
}

void ScriptedDrive::finish()
{
    if (window_) {
        shutDown();
        window_ = nullptr;
    }
    useGlfwSeam();
}

const scene::Cube* nearestObstacleAhead(float carZ, float margin)
{
    const scene::Cube* nearest = nullptr;
    for (const auto& cube : run.cubes) {
        const float z = cube->modelMatrix[3][2];
        if (z < carZ - margin && (!nearest || z > nearest->modelMatrix[3][2]))
            nearest = cube.get();
    }
    return nearest;
}

} // namespace velorun
