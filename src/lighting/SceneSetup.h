#pragma once

struct GLFWwindow;

namespace velorun {

// The game's key handler, as GLFW calls it.
using KeyHandler = void (*)(GLFWwindow* window, int key, int scancode, int action, int mods);

// Installs `keyHandler` on the window, creates every long-lived object of the
// scene, places the light rig, uploads the uniforms that never change and
// ends by creating the shadow maps.
void setupScene(GLFWwindow* window, KeyHandler keyHandler);

} // namespace velorun
