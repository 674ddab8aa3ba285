#include "lighting/ShadowFaces.h"

#include "render/Projections.h"

#include <algorithm>
#include <cmath>

namespace velorun {

namespace {

// Slack against rounding in the transforms and rasterisation at a face's
// edges: boxes grow by a little in world units, the pyramids widen by a
// few texels' worth.
constexpr float boxMargin = 0.05f;
constexpr float sideSlack = 1.01f;

// Smallest |v| over [lo, hi].
float nearestToZero(float lo, float hi)
{
    if (lo <= 0.0f && hi >= 0.0f)
        return 0.0f;
    return std::min(std::fabs(lo), std::fabs(hi));
}

bool sameCaster(const CasterRecord& a, const CasterRecord& b)
{
    return a.shape == b.shape && a.matrix == b.matrix;
}

} // namespace

Bounds transformedBounds(const Bounds& local, const glm::mat4& matrix)
{
    const glm::vec3 centre = (local.min + local.max) * 0.5f;
    const glm::vec3 half = (local.max - local.min) * 0.5f;
    const glm::vec3 c = glm::vec3(matrix * glm::vec4(centre, 1.0f));
    glm::vec3 h(0.0f);
    for (int column = 0; column < 3; ++column)
        h += glm::abs(glm::vec3(matrix[column])) * half[column];
    return {c - h, c + h};
}

FaceMask facesReaching(const Bounds& box, const glm::vec3& light)
{
    // A vertex beyond float range makes a box infinite, or NaN once
    // transformed: the comparisons below would then keep it from every face,
    // so it reaches them all instead.
    for (int axis = 0; axis < 3; ++axis)
        if (!std::isfinite(box.min[axis]) || !std::isfinite(box.max[axis]))
            return allFaces;
    const glm::vec3 lo = box.min - light - glm::vec3(boxMargin);
    const glm::vec3 hi = box.max - light + glm::vec3(boxMargin);
    FaceMask faces = noFaces;
    for (int axis = 0; axis < 3; ++axis) {
        const int side1 = (axis + 1) % 3;
        const int side2 = (axis + 2) % 3;
        const float lateral =
            std::max(nearestToZero(lo[side1], hi[side1]), nearestToZero(lo[side2], hi[side2]));
        for (int sign = 0; sign < 2; ++sign) {
            // Distance range along the face's axis (+axis, then -axis).
            const float nearest = sign == 0 ? lo[axis] : -hi[axis];
            const float farthest = sign == 0 ? hi[axis] : -lo[axis];
            if (farthest < shadowNear || nearest > shadowFar)
                continue;
            // The pyramid widens with distance: the deepest point the box
            // offers within the far plane is where it is widest.
            const float depth = std::min(farthest, shadowFar);
            if (lateral <= depth * sideSlack)
                faces |= 1u << (2 * axis + sign);
        }
    }
    return faces;
}

std::vector<Bounds> changedBounds(const std::vector<CasterRecord>& before,
                                  const std::vector<CasterRecord>& now)
{
    std::vector<Bounds> changed;
    std::vector<bool> matched(before.size(), false);
    // Lists change at their ends (an obstacle added, the oldest removed), so
    // each search starts after the previous match.
    size_t next = 0;
    for (const CasterRecord& caster : now) {
        bool found = false;
        for (size_t n = 0; n < before.size() && !found; ++n) {
            const size_t i = (next + n) % before.size();
            if (!matched[i] && sameCaster(before[i], caster)) {
                matched[i] = true;
                next = i + 1;
                found = true;
            }
        }
        if (!found)
            changed.push_back(caster.bounds);
    }
    for (size_t i = 0; i < before.size(); ++i)
        if (!matched[i])
            changed.push_back(before[i].bounds);
    return changed;
}

FaceMask facesToRedraw(const glm::vec3& light, const glm::vec3& lightBefore,
                       const std::vector<Bounds>& changed)
{
    if (light != lightBefore)
        return allFaces;
    FaceMask faces = noFaces;
    for (const Bounds& box : changed)
        faces |= facesReaching(box, light);
    return faces;
}

} // namespace velorun
