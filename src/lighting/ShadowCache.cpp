#include "lighting/ShadowCache.h"

#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"

#include <bitset>

namespace velorun {

InheritedPassState currentInheritedPassState()
{
    InheritedPassState s;
    s.culling = glIsEnabled(GL_CULL_FACE);
    glGetIntegerv(GL_CULL_FACE_MODE, &s.cullFaceMode);
    glGetIntegerv(GL_FRONT_FACE, &s.frontFace);
    // Front and back; a core context has only one mode for both, and a
    // driver may then give just the one.
    s.polygonMode[1] = -1;
    glGetIntegerv(GL_POLYGON_MODE, s.polygonMode.data());
    if (s.polygonMode[1] == -1)
        s.polygonMode[1] = s.polygonMode[0];
    s.depthTest = glIsEnabled(GL_DEPTH_TEST);
    glGetIntegerv(GL_DEPTH_FUNC, &s.depthFunc);
    glGetIntegerv(GL_DEPTH_WRITEMASK, &s.depthWrites);
    s.depthClamp = glIsEnabled(GL_DEPTH_CLAMP);
    s.offsetFill = glIsEnabled(GL_POLYGON_OFFSET_FILL);
    s.offsetLine = glIsEnabled(GL_POLYGON_OFFSET_LINE);
    s.scissorTest = glIsEnabled(GL_SCISSOR_TEST);
    glGetIntegerv(GL_SCISSOR_BOX, s.scissorBox.data());
    s.rasterizerDiscard = glIsEnabled(GL_RASTERIZER_DISCARD);
    glGetFloatv(GL_DEPTH_RANGE, s.depthRange.data());
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &s.clearDepth);
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &s.offsetFactor);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, &s.offsetUnits);
    glGetFloatv(GL_LINE_WIDTH, &s.lineWidth);
    return s;
}

bool InheritedPassState::fillsTriangles() const
{
    return polygonMode[0] == GL_FILL && polygonMode[1] == GL_FILL;
}

bool InheritedPassState::clearsEveryTexelTo(GLfloat depth) const
{
    return depthWrites == GL_TRUE && scissorTest == GL_FALSE && rasterizerDiscard == GL_FALSE &&
           clearDepth == depth;
}

int updateShadowMaps()
{
    ShadowCache& cache = shadowCache;
    const std::vector<ShadowCaster> casters = shadowCasters();
    std::vector<CasterRecord> records;
    records.reserve(casters.size());
    for (const ShadowCaster& caster : casters)
        records.push_back(casterRecord(caster));
    std::vector<glm::vec3> lights;
    for (int k = 1; k <= pointLightCount; ++k)
        lights.push_back(pointLightPosition(k));
    const InheritedPassState state = currentInheritedPassState();

    const bool everything = !cache.valid || cache.state != state || !state.fillsTriangles() ||
                            !state.clearsEveryTexelTo(clearedShadowFaceDepth) ||
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
        renderShadowFaces(light, shadowFramebuffers[k], depthCubeMaps[k], faces, reaching);
        drawn += static_cast<int>(std::bitset<6>(faces).count());
    }

    cache.valid = true;
    cache.lights = std::move(lights);
    cache.casters = std::move(records);
    cache.state = state;
    cache.facesDrawn = drawn;
    return drawn;
}

void invalidateShadowMaps() { shadowCache = ShadowCache{}; }

} // namespace velorun
