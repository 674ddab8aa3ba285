#pragma once

#include <glm/glm.hpp>

struct GLFWwindow;

namespace velorun {

// The game's key handler, as GLFW calls it.
using KeyHandler = void (*)(GLFWwindow* window, int key, int scancode, int action, int mods);

// Installs `keyHandler` on the window, creates every long-lived object of the
// scene, places the light rig, uploads the uniforms that never change and
// ends by creating the shadow maps.
void setupScene(GLFWwindow* window, KeyHandler keyHandler);

// Puts the car, at its starting speed, the camera, the tube segments and the
// lights where every run starts, and the run's hit test sees the car there.
// Set-up places the first run with it and a race again every later one, so
// the two cannot drift apart. Moves objects only; no GL call.
void placeSceneForRun();

// The scene's projection for a framebuffer of `size` pixels, to the scene's
// programs, and kept with `size` in `projected`; a size without an area gets the
// default 800 x 600 shape. Set-up projects for the window it is given; a
// window that changes its size is projected for again.
void uploadSceneProjection(glm::ivec2 size);

// The camera's view, and its position where a program shades with it, to the
// scene's programs: the frames that follow draw from there.
void uploadViewUniforms();

} // namespace velorun
