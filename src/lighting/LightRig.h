#pragma once

#include <array>
#include <glm/glm.hpp>

namespace velorun {

constexpr int pointLightCount = 8;

// Marker matrices of the eight point lights at start: each translation is
// applied to the accumulated, already scaled matrix, so the lights end up at
// z = -30, -36, -46, -60, -78, -100, -126, -156 with scale 0.2.
std::array<glm::mat4, pointLightCount> initialLightMatrices();

// Where light k (1..8) goes when the rig is re-placed ahead of the camera.
float relocatedLightZ(float cameraZ, int k);

// Cosine of the spot light's 17 degree cut-off, as the shaders receive it.
float spotCutOff();

// Spot light position relative to the car, summed in double precision.
glm::vec3 spotLightPositionFor(const glm::vec3& carPosition);

} // namespace velorun
