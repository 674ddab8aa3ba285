#pragma once

struct GLFWwindow;

namespace velorun {

// Creates every long-lived object of the scene, places the light rig, uploads
// the uniforms that never change and ends by creating the shadow maps.
void setupScene(GLFWwindow* window);

} // namespace velorun
