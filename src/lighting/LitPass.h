#pragma once

struct GLFWwindow;

namespace velorun {

// Draws the visible scene of one frame: obstacles, tube segments and car lit by
// the eight point lights and the spot light, the light markers, then the flares.
void renderScene(GLFWwindow* window);

} // namespace velorun
