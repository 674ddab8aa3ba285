#pragma once

#include "lighting/ShadowFaces.h"
#include "render/Projections.h"
#include "scene/Cube.h"
#include "scene/Model.h"

#include <GL/glew.h>
#include <array>
#include <cstddef>
#include <glm/glm.hpp>
#include <vector>

namespace velorun {

constexpr int shadowMapSize = 1024;
// The far plane the shadow faces are rendered with (the shadow projection's).
constexpr float shadowFarPlane = shadowFar;

// Projection x look-at for the six cube faces of a light, in GL's face order
// (+X, -X, +Y, -Y, +Z, -Z): element i renders layer i.
std::array<glm::mat4, 6> shadowTransforms(const glm::vec3& lightPosition);

// One depth cube map of the shadow maps' format, attached as a whole (layered)
// to a framebuffer of its own without colour buffers.
struct ShadowMapPair {
    GLuint framebuffer = 0;
    GLuint cubeMap = 0;
};
ShadowMapPair makeShadowMapPair();

// Eight depth cube maps with their layered framebuffers, a cleared face to
// clear single faces with, and the depth program.
void createShadowMaps();

// One thing the shadow pass draws: an obstacle or a model, the other null.
struct ShadowCaster {
    scene::Cube* cube = nullptr;
    scene::Model* model = nullptr;
};

// What every shadow pass draws, in its order: the obstacles, then tubeA, tubeB
// and the car.
std::vector<ShadowCaster> shadowCasters();

// Its shape (all obstacles share one), model matrix and world box.
CasterRecord casterRecord(const ShadowCaster& caster);

// Fills one light's cube map with the obstacles, both tube segments and the car.
void renderShadowMap(glm::vec3 lightPosition, GLuint framebuffer);

// Clears and redraws only `faces` of one light's map (`cubeMap`, attached
// layered to `framebuffer`) with `casters`; the other faces keep what they
// hold. With all faces and every caster it is renderShadowMap.
void renderShadowFaces(glm::vec3 lightPosition, GLuint framebuffer, GLuint cubeMap, FaceMask faces,
                       const std::vector<ShadowCaster>& casters);

// Deletes the maps and framebuffers while the context is current.
void releaseShadowMaps();

} // namespace velorun
