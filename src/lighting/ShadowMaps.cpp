#include "lighting/ShadowMaps.h"

#include "render/Projections.h"
#include "render/Uniforms.h"

#include <bitset>
#include <glm/gtc/matrix_transform.hpp>
#include <string>

namespace velorun {

ShadowMaps shadowMaps;

std::array<glm::mat4, 6> shadowTransforms(const glm::vec3& p)
{
    const glm::mat4 projection = shadowProjection();
    return {projection * glm::lookAt(p, p + glm::vec3(1.0f, 0.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.0f)),
            projection * glm::lookAt(p, p + glm::vec3(-1.0f, 0.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.0f)),
            projection * glm::lookAt(p, p + glm::vec3(0.0f, 1.0f, 0.0f), glm::vec3(0.0f, 0.0f, 1.0f)),
            projection * glm::lookAt(p, p + glm::vec3(0.0f, -1.0f, 0.0f), glm::vec3(0.0f, 0.0f, -1.0f)),
            projection * glm::lookAt(p, p + glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f, -1.0f, 0.0f)),
            projection * glm::lookAt(p, p + glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, -1.0f, 0.0f))};
}

ShadowMapPair makeShadowMapPair()
{
    ShadowMapPair pair;
    glGenFramebuffers(1, &pair.framebuffer);
    glGenTextures(1, &pair.cubeMap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, pair.cubeMap);
    for (GLenum face = 0; face < 6; ++face)
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_DEPTH_COMPONENT, shadowMapSize,
                     shadowMapSize, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glBindFramebuffer(GL_FRAMEBUFFER, pair.framebuffer);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, pair.cubeMap, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return pair;
}

void createShadowMaps()
{
    ShadowMaps& maps = shadowMaps;
    for (int k = 1; k <= pointLightCount; ++k) {
        const ShadowMapPair pair = makeShadowMapPair();
        maps.framebuffers.push_back(pair.framebuffer);
        maps.cubeMaps.push_back(pair.cubeMap);

        if (k == 1) {
            maps.depthShader = std::make_unique<ShaderProgram>("Shader/point_shadows_depth.vert",
                                                               "Shader/point_shadows_depth.geom",
                                                               "Shader/point_shadows_depth.frag");
            glBindFragDataLocation(maps.depthShader->program, 0, "fragColor");
            glLinkProgram(maps.depthShader->program);
        }
    }

    // Cleared the way a pass clears a map, with the clear depth of the moment.
    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glGenTextures(1, &maps.clearedFace);
    glBindTexture(GL_TEXTURE_2D, maps.clearedFace);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, shadowMapSize, shadowMapSize, 0, GL_DEPTH_COMPONENT,
                 GL_FLOAT, nullptr);
    // One level only: copies need a complete texture.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, maps.clearedFace, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &maps.clearedFaceDepth);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    invalidateShadowMaps();
}

namespace {

// The drawing half of a shadow pass, into the bound framebuffer: the depth
// program with the light's face matrices, then every caster given. Layers
// outside `faces` are left untouched by the geometry stage.
void drawCasters(const glm::vec3& lightPosition, FaceMask faces, const std::vector<ShadowCaster>& casters)
{
    const std::array<glm::mat4, 6> transforms = shadowTransforms(lightPosition);
    const GLuint program = shadowMaps.depthShader->program;
    glUseProgram(program);
    for (int i = 0; i < 6; ++i) {
        const std::string name = "shadowMatrices[" + std::to_string(i) + "]";
        setUniform(program, name.c_str(), transforms[static_cast<size_t>(i)]);
    }
    setUniform(program, "far_plane", shadowFarPlane);
    setUniform(program, "lightPos", lightPosition);
    setUniform(program, "skippedFaces", static_cast<int>(allFaces & ~faces));

    for (const ShadowCaster& caster : casters) {
        if (caster.cube) {
            setUniform(program, "model", caster.cube->modelMatrix);
            caster.cube->draw();
        } else {
            glUseProgram(program);
            setUniform(program, "model", caster.model->getModelMatrix());
            caster.model->drawDepth();
        }
    }
}

} // namespace

CasterRecord casterRecord(const ShadowCaster& caster)
{
    if (caster.cube) {
        // Every obstacle is the same unit cube about its origin.
        const Bounds unitCube{glm::vec3(-0.5f), glm::vec3(0.5f)};
        return {&scene::Cube::positions, caster.cube->modelMatrix,
                transformedBounds(unitCube, caster.cube->modelMatrix)};
    }
    const glm::mat4 matrix = caster.model->getModelMatrix();
    return {caster.model, matrix,
            transformedBounds({caster.model->boundsMin, caster.model->boundsMax}, matrix)};
}

void renderShadowMap(glm::vec3 lightPosition, GLuint framebuffer, const std::vector<ShadowCaster>& casters)
{
    renderShadowFaces(lightPosition, framebuffer, 0, allFaces, casters);
}

void renderShadowFaces(glm::vec3 lightPosition, GLuint framebuffer, GLuint cubeMap, FaceMask faces,
                       const std::vector<ShadowCaster>& casters)
{
    glViewport(0, 0, shadowMapSize, shadowMapSize);
    if (faces != allFaces) {
        // A layered framebuffer clears every face; these are cleared alone,
        // without a framebuffer of their own to switch to.
        for (GLint face = 0; face < 6; ++face)
            if ((faces & (1u << face)) != noFaces)
                glCopyImageSubData(shadowMaps.clearedFace, GL_TEXTURE_2D, 0, 0, 0, 0, cubeMap,
                                   GL_TEXTURE_CUBE_MAP, 0, 0, 0, face, shadowMapSize, shadowMapSize, 1);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    if (faces == allFaces)
        glClear(GL_DEPTH_BUFFER_BIT);
    drawCasters(lightPosition, faces, casters);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

int updateShadowMaps(const std::vector<ShadowCaster>& casters, const std::vector<glm::vec3>& lights)
{
    ShadowCache& cache = shadowMaps.cache;
    std::vector<CasterRecord> records;
    records.reserve(casters.size());
    for (const ShadowCaster& caster : casters)
        records.push_back(casterRecord(caster));
    const InheritedPassState state = currentInheritedPassState();

    const bool everything = !cache.valid || cache.state != state || !state.fillsTriangles() ||
                            !state.clearsEveryTexelTo(shadowMaps.clearedFaceDepth) ||
                            cache.lights.size() != lights.size();
    const std::vector<Bounds> changed =
        everything ? std::vector<Bounds>{} : changedBounds(cache.casters, records);

    int drawn = 0;
    std::vector<ShadowCaster> reaching;
    for (size_t k = 0; k < lights.size(); ++k) {
        const glm::vec3& light = lights[k];
        const FaceMask faces = everything ? allFaces : facesToRedraw(light, cache.lights[k], changed);
        if (faces == noFaces)
            continue;
        // A caster that reaches none of these faces would add nothing to them.
        reaching.clear();
        for (size_t c = 0; c < casters.size(); ++c)
            if ((facesReaching(records[c].bounds, light) & faces) != noFaces)
                reaching.push_back(casters[c]);
        renderShadowFaces(light, shadowMaps.framebuffers[k], shadowMaps.cubeMaps[k], faces, reaching);
        drawn += static_cast<int>(std::bitset<6>(faces).count());
    }

    cache.valid = true;
    cache.lights = lights;
    cache.casters = std::move(records);
    cache.state = state;
    cache.facesDrawn = drawn;
    return drawn;
}

void invalidateShadowMaps() { shadowMaps.cache = ShadowCache{}; }

void releaseShadowMaps()
{
    ShadowMaps& maps = shadowMaps;
    if (!maps.cubeMaps.empty())
        glDeleteTextures(static_cast<GLsizei>(maps.cubeMaps.size()), maps.cubeMaps.data());
    if (!maps.framebuffers.empty())
        glDeleteFramebuffers(static_cast<GLsizei>(maps.framebuffers.size()), maps.framebuffers.data());
    if (maps.clearedFace != 0)
        glDeleteTextures(1, &maps.clearedFace);
    maps = ShadowMaps{};
}

} // namespace velorun
