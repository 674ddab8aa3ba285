#include "ScenarioHarness.h"

#include "KeepLibrariesLoaded.h"

#include "game/FrameSeam.h"

#include "lighting/SceneState.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>
#include <X11/Xutil.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <glm/gtc/matrix_transform.hpp>

#ifndef VELORUN_SCENARIO_OUTPUT_DIR
#define VELORUN_SCENARIO_OUTPUT_DIR "scenario-screenshots"
#endif

namespace velorun::scenario {

ScenarioHarness::~ScenarioHarness() { finish(); }

void ScenarioHarness::start(int width, int height)
{
    width_ = width;
    height_ = height;
    drive_.start(width, height);
}

void ScenarioHarness::frames(int n, double dt)
{
    for (int i = 0; i < n; ++i)
        frame(dt);
}

Screenshot ScenarioHarness::captureFrame() const
{
    glFinish();
    GLint previous = GL_BACK;
    glGetIntegerv(GL_READ_BUFFER, &previous);
    glReadBuffer(GL_BACK);
    Screenshot shot = readScreenshot(width_, height_);
    glReadBuffer(static_cast<GLenum>(previous));
    return shot;
}

std::string ScenarioHarness::save(const Screenshot& shot, const std::string& name) const
{
    std::filesystem::create_directories(VELORUN_SCENARIO_OUTPUT_DIR);
    const std::string path = std::string(VELORUN_SCENARIO_OUTPUT_DIR) + "/" + name + ".png";
    saveScreenshotPng(shot, path);
    return path;
}

void ScenarioHarness::finish()
{
    if (drive_.window())
        velorun::test::keepLoadedLibrariesUntilExit();
    drive_.finish();
}

glm::vec3 carPosition() { return scene::positionOf(car->modelMatrix); }

void placeCar(const glm::vec3& p)
{
    scene::setPosition(car->modelMatrix, p);
    run.carSeenAt = p; // a jump, not a drive: nothing on the way is hit
}

glm::vec3 cameraPosition() { return camera->position; }

float tubeAZ() { return tubeA->modelMatrix[3][2]; }
float tubeBZ() { return tubeB->modelMatrix[3][2]; }

void setMinimisedByWindowManager(GLFWwindow* window, bool minimised)
{
    // The ICCCM window state, as the manager sets it; syncing on GLFW's own
    // connection puts the property's event in its queue before it polls.
    Display* display = glfwGetX11Display();
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const long state[2] = {minimised ? IconicState : NormalState, None};
    XChangeProperty(display, glfwGetX11Window(window), wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state), 2);
    XSync(display, False);
    glfwPollEvents();
}

bool projectToWindow(const glm::vec3& world, const glm::vec3& eye, int width, int height, glm::vec2& out)
{
    const glm::mat4 projection =
        glm::perspective(70.0f, static_cast<float>(width) / static_cast<float>(height), 0.1f, 100.0f);
    const glm::mat4 view = glm::lookAt(eye, eye + glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::vec4 clip = projection * view * glm::vec4(world, 1.0f);
    if (clip.w <= 0.0f)
        return false;
    const glm::vec3 ndc = glm::vec3(clip) / clip.w;
    out = glm::vec2((ndc.x * 0.5f + 0.5f) * static_cast<float>(width),
                    (ndc.y * 0.5f + 0.5f) * static_cast<float>(height));
    return true;
}

DiffBlob diffBlob(const Screenshot& a, const Screenshot& b, int threshold)
{
    DiffBlob blob;
    double sx = 0.0, sy = 0.0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const unsigned char* p = a.at(x, y);
            const unsigned char* q = b.at(x, y);
            if (std::abs(p[0] - q[0]) > threshold || std::abs(p[1] - q[1]) > threshold ||
                std::abs(p[2] - q[2]) > threshold) {
                ++blob.count;
                sx += x;
                sy += y;
            }
        }
    if (blob.count)
        blob.centroid = glm::vec2(static_cast<float>(sx / blob.count), static_cast<float>(sy / blob.count));
    return blob;
}

Rgb toRgb(float r, float g, float b)
{
    auto c = [](float v) { return static_cast<int>(std::lround(v * 255.0f)); };
    return Rgb{c(r), c(g), c(b)};
}

Rgb clearColour() { return toRgb(0.35f, 0.36f, 0.43f); }

bool near(const unsigned char* p, Rgb c, int tolerance)
{
    return std::abs(p[0] - c.r) <= tolerance && std::abs(p[1] - c.g) <= tolerance &&
           std::abs(p[2] - c.b) <= tolerance;
}

int countPixels(const Screenshot& shot, int x0, int y0, int x1, int y1,
                const std::function<bool(const unsigned char*)>& pred)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (pred(shot.at(x, y)))
                ++n;
    return n;
}

} // namespace velorun::scenario
