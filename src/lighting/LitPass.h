#pragma once

#include <glm/glm.hpp>

namespace velorun {

// Draws the visible scene of one frame into a framebuffer of `size` pixels:
// obstacles, tube segments and car lit by the eight point lights and the spot
// light, the light markers, then the flares unless they are switched off.
void renderScene(glm::ivec2 size, bool lensFlares);

} // namespace velorun
