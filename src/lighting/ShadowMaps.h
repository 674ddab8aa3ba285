#pragma once

#include "render/Projections.h"

#include <GL/glew.h>
#include <array>
#include <cstddef>
#include <glm/glm.hpp>

namespace velorun {

constexpr int shadowMapSize = 1024;
// The far plane the shadow faces are rendered with (the shadow projection's).
constexpr float shadowFarPlane = shadowFar;

// Projection x look-at for the six cube faces of a light, in GL's face order
// (+X, -X, +Y, -Y, +Z, -Z): element i renders layer i.
std::array<glm::mat4, 6> shadowTransforms(const glm::vec3& lightPosition);

// Eight depth cube maps with their layered framebuffers, and the depth program.
void createShadowMaps();

// Fills one light's cube map with the obstacles, both tube segments and the car.
void renderShadowMap(glm::vec3 lightPosition, GLuint framebuffer);

// Deletes the maps and framebuffers while the context is current.
void releaseShadowMaps();

} // namespace velorun
