#include "lighting/ShadowCache.h"

#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"

#include <bitset>

namespace velorun {

InheritedPassState currentInheritedPassState()
{
    InheritedPassState s;
    GLint* i = s.integers.data();
    i[0] = glIsEnabled(GL_CULL_FACE);
    glGetIntegerv(GL_CULL_FACE_MODE, &i[1]);
    glGetIntegerv(GL_FRONT_FACE, &i[2]);
    // Front and back; a core context has only one mode for both, and a
    // driver may then give just the one.
    i[4] = -1;
    glGetIntegerv(GL_POLYGON_MODE, &i[3]);
    if (i[4] == -1)
        i[4] = i[3];
    i[5] = glIsEnabled(GL_DEPTH_TEST);
    glGetIntegerv(GL_DEPTH_FUNC, &i[6]);
    glGetIntegerv(GL_DEPTH_WRITEMASK, &i[7]);
    i[8] = glIsEnabled(GL_DEPTH_CLAMP);
    i[9] = glIsEnabled(GL_POLYGON_OFFSET_FILL);
    i[10] = glIsEnabled(GL_POLYGON_OFFSET_LINE);
    i[11] = glIsEnabled(GL_SCISSOR_TEST);
    glGetIntegerv(GL_SCISSOR_BOX, &i[12]); // four values
    i[16] = glIsEnabled(GL_RASTERIZER_DISCARD);
    GLfloat* f = s.floats.data();
    glGetFloatv(GL_DEPTH_RANGE, &f[0]); // two values
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &f[2]);
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &f[3]);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, &f[4]);
    glGetFloatv(GL_LINE_WIDTH, &f[5]);
    return s;
}

bool InheritedPassState::fillsTriangles() const { return integers[3] == GL_FILL && integers[4] == GL_FILL; }

bool InheritedPassState::clearsEveryTexelTo(GLfloat depth) const
{
    return integers[7] == GL_TRUE && integers[11] == GL_FALSE && integers[16] == GL_FALSE &&
           floats[2] == depth;
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
