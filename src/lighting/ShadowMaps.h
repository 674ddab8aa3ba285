#pragma once

#include "lighting/LightRig.h"
#include "lighting/ShadowCache.h"
#include "lighting/ShadowFaces.h"
#include "render/Projections.h"
#include "render/ShaderProgram.h"
#include "scene/Cube.h"
#include "scene/Model.h"

#include <GL/glew.h>
#include <array>
#include <cstddef>
#include <glm/glm.hpp>
#include <memory>
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

// The point lights' shadow maps: one depth cube map per light with its
// layered framebuffer, a cleared face to clear single faces with, the depth
// program, and what the maps were last drawn from.
struct ShadowMaps {
    std::unique_ptr<ShaderProgram> depthShader;
    std::vector<GLuint> framebuffers; // light k at element k - 1
    std::vector<GLuint> cubeMaps;
    // One face of the maps' format, cleared, and the depth it was cleared to:
    // a face to redraw alone is cleared by copying it over.
    GLuint clearedFace = 0;
    GLfloat clearedFaceDepth = 1.0f;
    ShadowCache cache;
};

// The game's maps; made by createShadowMaps, released by releaseShadowMaps.
extern ShadowMaps shadowMaps;

// One map for each point light, the cleared face and the program.
void createShadowMaps();

// One thing the shadow pass draws: an obstacle or a model, the other null.
struct ShadowCaster {
    scene::Cube* cube = nullptr;
    scene::Model* model = nullptr;
};

// Its shape (all obstacles share one), model matrix and world box.
CasterRecord casterRecord(const ShadowCaster& caster);

// Fills one light's cube map, attached layered to `framebuffer`, with `casters`.
void renderShadowMap(glm::vec3 lightPosition, GLuint framebuffer, const std::vector<ShadowCaster>& casters);

// Clears and redraws only `faces` of one light's map (`cubeMap`, attached
// layered to `framebuffer`) with `casters`; the other faces keep what they
// hold. With all faces it is renderShadowMap.
void renderShadowFaces(glm::vec3 lightPosition, GLuint framebuffer, GLuint cubeMap, FaceMask faces,
                       const std::vector<ShadowCaster>& casters);

// The shadow stage: brings light k's map (its position at element k - 1 of
// `lights`) up to date with `casters`, drawing only the faces whose content
// can differ from what they hold, and returns how many faces it drew.
int updateShadowMaps(const std::vector<ShadowCaster>& casters, const std::vector<glm::vec3>& lights);

// Forgets what the maps were drawn from: the next update draws every face.
void invalidateShadowMaps();

// Deletes the maps, framebuffers and program while the context is current,
// leaving shadowMaps as before createShadowMaps.
void releaseShadowMaps();

} // namespace velorun
