#pragma once

#include <glm/glm.hpp>
#include <vector>

// Which faces of a point light's depth cube map something can reach, from
// boxes alone: the maths that lets the shadow stage keep the faces whose
// content cannot have changed. No GL.
namespace velorun {

// An axis-aligned box.
struct Bounds {
    glm::vec3 min{0.0f};
    glm::vec3 max{0.0f};
};

// Bit i stands for cube-map face i in GL's order (+X, -X, +Y, -Y, +Z, -Z),
// which is also layer i of the map.
using FaceMask = unsigned;
constexpr FaceMask noFaces = 0u;
constexpr FaceMask allFaces = 0x3fu;

// The box around `local` once transformed by the affine `matrix`.
Bounds transformedBounds(const Bounds& local, const glm::mat4& matrix);

// The faces of a light at `light` whose view the box may reach: each face sees
// a right-angle pyramid along its axis, cut by the shadow projection's near and
// far planes. Errs towards a face too many, never one too few: a face left out
// wrongly would keep a stale shadow. A box that is not finite reaches all six.
FaceMask facesReaching(const Bounds& box, const glm::vec3& light);

// Something a shadow pass draws, as far as its depth is concerned: its
// geometry (one value per distinct shape), its model matrix and its box in the
// world.
struct CasterRecord {
    const void* shape = nullptr;
    glm::mat4 matrix{1.0f};
    Bounds bounds;
};

// The world boxes of what changed between two frames' casters: where each one
// that went away or moved stood, and where each one that came or moved stands
// now. Casters of the same shape and matrix draw the same depth, so they are
// matched on that, in any order.
std::vector<Bounds> changedBounds(const std::vector<CasterRecord>& before,
                                  const std::vector<CasterRecord>& now);

// The faces of a light now at `light` (at `lightBefore` when its faces were
// drawn) to draw again: all six when it moved, else those a changed box reaches.
FaceMask facesToRedraw(const glm::vec3& light, const glm::vec3& lightBefore,
                       const std::vector<Bounds>& changed);

} // namespace velorun
