#pragma once

// Drives the real game frame by frame through the game's scripted drive
// (drive/ScriptedDrive.h) and reads back what it drew.
//
// Pixel read-back: captureFrame() reads the GL back buffer right after
// runFrame, i.e. right after the swap. OpenGL leaves the back buffer's
// contents after a swap undefined; Mesa's software rasteriser (llvmpipe under
// Xvfb, where these tests run) copies the back buffer to the window and keeps
// it, so it still holds the swapped frame. Reading the window from the X
// server instead would depend on no other test's window covering it, and
// GL_FRONT reads back black there.

#include "drive/ScriptedDrive.h"
#include "render/Screenshot.h"

#include <functional>
#include <glm/glm.hpp>
#include <string>

struct GLFWwindow;

namespace velorun::scenario {

// A window whose picture nobody looks at: a small one draws fastest.
constexpr int smallWidth = 160;
constexpr int smallHeight = 120;

class ScenarioHarness {
public:
    ScenarioHarness() = default;
    ~ScenarioHarness();
    ScenarioHarness(const ScenarioHarness&) = delete;
    ScenarioHarness& operator=(const ScenarioHarness&) = delete;

    // Runs the game's start-up with the scripted clock and keys.
    void start(int width = 800, int height = 600);

    // Advances the clock by dt seconds and runs one frame; returns runFrame's result.
    bool frame(double dt) { return drive_.frame(dt); }
    // n frames of dt each.
    void frames(int n, double dt);

    void hold(int key) { drive_.hold(key); }
    void release(int key) { drive_.release(key); }
    void releaseAll() { drive_.releaseAll(); }
    void useGamepad(ScriptedDrive::GamepadReader gamepad) { drive_.useGamepad(std::move(gamepad)); }
    input::FrameInput heldInput() const { return drive_.heldInput(); }

    // The image of the frame that was swapped last.
    Screenshot captureFrame() const;
    // Writes a PNG under the build tree's screenshot folder; returns its path.
    std::string save(const Screenshot& shot, const std::string& name) const;

    double clock() const { return drive_.clock(); }
    GLFWwindow* window() const { return drive_.window(); }
    int width() const { return width_; }
    int height() const { return height_; }

    // Ends the run: the game's shutdown and GLFW's clock and keys restored.
    void finish();

private:
    ScriptedDrive drive_;
    int width_ = 800;
    int height_ = 600;
};

// The car's world position (the translation of its model matrix).
glm::vec3 carPosition();
// Moves the car to p, keeping its scale (the camera follows in the next
// frame); the next frame's hit test starts there.
void placeCar(const glm::vec3& p);
glm::vec3 cameraPosition();
float tubeAZ();
float tubeBZ();

// Says on the window what an X window manager says of it (minimised or not),
// and has GLFW read it; the game's own callbacks hear of it only if set.
void setMinimisedByWindowManager(GLFWwindow* window, bool minimised);

// Where a world point lands in a width x height window (x right, y up, in
// pixels) for a camera at `eye` looking down -z: the scene projection is
// glm::perspective with 70.0 taken as radians, near 0.1, far 100. Returns
// false for a point behind the camera.
bool projectToWindow(const glm::vec3& world, const glm::vec3& eye, int width, int height, glm::vec2& out);

// --- pixel helpers -------------------------------------------------------

struct Rgb {
    int r, g, b;
};

// Colour of a GL colour in 0..1 as 8-bit values.
Rgb toRgb(float r, float g, float b);

// The window's clear colour (0.35, 0.36, 0.43).
Rgb clearColour();

bool near(const unsigned char* p, Rgb c, int tolerance);

// Number of pixels in the rectangle [x0, x1) x [y0, y1) (y from the bottom)
// for which `pred` holds.
int countPixels(const Screenshot& shot, int x0, int y0, int x1, int y1,
                const std::function<bool(const unsigned char*)>& pred);

// Pixels whose colour differs between two same-sized images by more than
// `threshold` in some channel: their number and centroid (window pixels).
struct DiffBlob {
    int count = 0;
    glm::vec2 centroid{0.0f, 0.0f};
};
DiffBlob diffBlob(const Screenshot& a, const Screenshot& b, int threshold);

} // namespace velorun::scenario
