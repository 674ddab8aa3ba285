// The tunnel: an open cylinder seen from the inside, plus its panel texture.
//
// How long the tube has to be
// ---------------------------
// The game draws the model scaled by (4, 4, 15): world radius 4.8, and one
// model unit along z is 15 world units.
//
// How wide it has to be
// ---------------------
// The car keeps within 3.0 to 3.5 units of the axis, and the camera rides
// 1 unit above it, so the camera comes as far as 4.28 from the axis (the car
// at the top, just left of the middle, where its limit is 3.28). The wall's
// flat panels lie at radius * cos(pi / sides) = 4.79: half a unit of room for
// the near plane (0.1 ahead of the camera, corners within 0.1 of its axis). Two copies leapfrog: they sit
// 90 world units (6 model units) apart, and a copy whose origin is more than
// 150 world units behind the camera is moved to 90 units beyond the other.
// The camera looks along -z with the far plane at 100, so at camera z = c the
// slab [c - 100, c] must always be covered. (The far plane is a plane in view
// space, so even the frustum corners never reach further than 100 along z.)
//
// The model spans z in [-L, 0] with its origin at the +z end, so a copy with
// origin o covers world z in [o - 15L, o]. Call the rear copy's origin r; the
// front copy is at r - 90. The rear copy is recycled as soon as r > c + 150,
// and the front copy then becomes the rear one at r - 90 > c + 60. Hence in
// steady state
//     c + 60 < r <= c + 150.
// The union of both copies is [r - 90 - 15L, r] as long as they overlap
// (15L >= 90). Behind the camera: r > c + 60 >= c, always covered. Ahead, the
// worst case is r = c + 150, which needs c + 60 - 15L <= c - 100, i.e.
// 15L >= 160, L >= 10.67. We use L = 11 (165 world units): 5 world units of
// margin beyond the far plane, which also absorbs the recycle check running
// once per frame as long as the camera moves less than 5 units per frame
// (300 units/s at 60 fps). The copies overlap by 15L - 90 = 75 world units.
//
// Making the overlap invisible
// ----------------------------
// In the overlap both copies are drawn on top of each other, so they must
// produce the same surface there. A world point seen by the rear copy at
// model z is seen by the front copy at model z + 6. Therefore:
//   * rings are placed every 1 model unit (15 world units); 6 / 1 = 6 is
//     whole, so both copies have vertices at the same world positions. The
//     wall is straight along z and lit per fragment, so more rings would add
//     only parsing and vertex work, not a better picture;
//   * the texture repeats every 0.5 model units along z (v = -2 z, i.e. one
//     period = 7.5 world units, two periods per ring, so every ring sits on a
//     whole v); 6 / 0.5 = 12 whole periods, so the two copies sample identical
//     texels at every shared point;
//   * around the tube both copies use the same u(angle) mapping.
// u runs once around (u = 0 on the ceiling, 0.5 on the floor), v along -z.
// Triangles are counter-clockwise seen from inside and normals point at the
// axis, because the outside is never visible and back faces are culled.

#include <cmath>
#include <iostream>

#include <glm/gtc/constants.hpp>

#include "assets.hpp"
#include "image.hpp"
#include "objwriter.hpp"

namespace assetgen {
namespace {

constexpr float kTubeRadius = 1.2f; // model units; 4.8 world units
constexpr float kTubeLength = 11.0f; // model units, z from 0 to -kTubeLength
constexpr float kRingSpacing = 1.0f; // model units between vertex rings
constexpr float kTexPeriodZ = 0.5f; // model units per texture repeat along z
constexpr float kLeapfrogShift = 6.0f; // 90 world units / z scale 15
constexpr int kSegmentsAround = 48;

constexpr int kTexW = 1024; // around the tube (one wrap)
constexpr int kTexH = 256; // along the tube (one period)

static_assert(static_cast<int>(kTubeLength / kRingSpacing) * kRingSpacing == kTubeLength,
              "tube length must be a whole number of rings");

bool isWhole(float x) { return std::fabs(x - std::round(x)) < 1e-6f; }

glm::vec3 tubeTexel(int x, int y)
{
    const float u = (x + 0.5f) / kTexW;
    const float v = (y + 0.5f) / kTexH;

    // 16 panels around, 2 panels per period along z.
    const float pu = u * 16.0f, pv = v * 2.0f;
    const int pi = static_cast<int>(std::floor(pu)), pj = static_cast<int>(std::floor(pv));
    const float fu = pu - pi, fv = pv - pj;
    const float panelW = kTexW / 16.0f, panelH = kTexH / 2.0f;
    const float edgeU = std::min(fu, 1.0f - fu) * panelW; // px to nearest long seam
    const float edgeV = std::min(fv, 1.0f - fv) * panelH; // px to nearest cross seam

    // Brushed dark blue-grey metal: streaks run along the tube.
    const float brushed = tiledNoise(x / 2.0f, y / 32.0f, kTexW / 2, kTexH / 32, 11u);
    const float grain = hash2(x, y, 23u);
    const float panelTone = 0.85f + 0.3f * hash2(pi % 16, pj % 2, 37u);
    const float sheen = 1.0f + 0.18f * std::cos((fu - 0.5f) * glm::pi<float>());
    glm::vec3 c = glm::vec3(0.090f, 0.112f, 0.145f) * panelTone * sheen *
                  (0.86f + 0.22f * brushed + 0.05f * (grain - 0.5f));

    // Floor lane: darker track between two faint amber edge lines, dashed centre.
    const float dxFloor = std::fabs((u - 0.5f) * kTexW);
    if (dxFloor < 92.0f)
        c *= 0.78f;
    const float laneEdge = std::exp(-std::pow((dxFloor - 92.0f) / 1.6f, 2.0f));
    c += glm::vec3(0.95f, 0.55f, 0.15f) * 0.22f * laneEdge;
    const bool dash = std::fmod(v * 2.0f, 1.0f) < 0.45f;
    if (dash)
        c += glm::vec3(1.0f, 0.62f, 0.18f) * 0.40f * smoothstep(3.0f, 1.5f, dxFloor);

    // Seams: a dark groove with a thin bevel highlight on one side.
    if (edgeU < 1.2f || edgeV < 1.2f) {
        c = glm::vec3(0.018f, 0.022f, 0.028f);
    } else {
        if ((fu < 0.5f && edgeU < 2.8f) || (fv < 0.5f && edgeV < 2.8f))
            c += glm::vec3(0.055f, 0.065f, 0.08f);
        // Bolts near the panel corners.
        const float bx = std::min(edgeU, 100.0f) - 7.0f, by = std::min(edgeV, 100.0f) - 7.0f;
        const float bolt = std::sqrt(bx * bx + by * by);
        if (bolt < 2.2f)
            c = glm::vec3(0.20f, 0.23f, 0.27f) * (1.1f - 0.25f * bolt);
    }

    // Wall marker lights halfway between the rings (left and right walls).
    for (float wallU : {0.25f, 0.75f}) {
        const float dx = std::fabs((u - wallU) * kTexW), dy = std::fabs(v - 0.5f) * kTexH;
        const float box = std::max(dx / 14.0f, dy / 3.0f);
        c += glm::vec3(0.55f, 0.85f, 1.0f) * (box < 1.0f ? 0.9f : 0.35f * std::exp(-(box - 1.0f) * 2.5f));
    }

    // The glowing ring across the whole circumference, once per period.
    const float dRing = std::min(y + 0.5f, kTexH - (y + 0.5f)); // px to v = 0 (wraps)
    if (dRing < 3.0f) {
        c = glm::vec3(0.70f, 0.97f, 1.0f);
    } else {
        c += glm::vec3(0.10f, 0.55f, 1.0f) * 0.85f * std::exp(-(dRing - 3.0f) / 7.0f);
    }
    return glm::clamp(c, glm::vec3(0.0f), glm::vec3(1.0f));
}

} // namespace

bool generateTube(const std::string& outDir)
{
    static_assert(kSegmentsAround > 8, "tube needs a round cross-section");
    // The seam conditions described at the top of this file.
    if (!isWhole(kLeapfrogShift / kRingSpacing) || !isWhole(kLeapfrogShift / kTexPeriodZ) ||
        !isWhole(kRingSpacing / kTexPeriodZ)) {
        std::cerr << "assetgen: tube ring spacing / texture period do not divide the leapfrog shift\n";
        return false;
    }

    const std::string dir = outDir + "/Resources/Objects/tube/";
    ObjWriter obj("# Velorun tunnel segment, generated by velorun-assetgen; do not edit by hand.\n"
                  "# Open cylinder, radius 1.2, z from 0 to -11, seen from inside.\n");
    obj.object("tube");
    obj.material("tube_panels");

    const int rings = static_cast<int>(std::lround(kTubeLength / kRingSpacing));
    auto vert = [&](int col, int ring) {
        const float u = static_cast<float>(col) / kSegmentsAround;
        const float a = glm::two_pi<float>() * u;
        const float z = -ring * kRingSpacing;
        Vertex v;
        v.pos = glm::vec3(kTubeRadius * std::sin(a), kTubeRadius * std::cos(a), z);
        v.normal = glm::vec3(-std::sin(a), -std::cos(a), 0.0f);
        v.uv = glm::vec2(u, -z / kTexPeriodZ);
        return v;
    };
    for (int ring = 0; ring < rings; ++ring) {
        for (int col = 0; col < kSegmentsAround; ++col) {
            const Vertex a = vert(col, ring), b = vert(col + 1, ring);
            const Vertex c = vert(col + 1, ring + 1), d = vert(col, ring + 1);
            obj.triangle(a, d, c);
            obj.triangle(a, c, b);
        }
    }
    if (!obj.write(dir + "tube2.obj", "tube2.mtl"))
        return false;

    Material m;
    m.name = "tube_panels";
    m.ambient = glm::vec3(0.15f);
    m.diffuse = glm::vec3(1.0f);
    m.specular = glm::vec3(0.6f);
    m.shininess = 48.0f;
    m.diffuseMap = "tube_panels.png";
    if (!ObjWriter::writeMtl(dir + "tube2.mtl", "# Velorun tunnel material, generated by velorun-assetgen.\n",
                             {m}))
        return false;

    Image tex(kTexW, kTexH, 3);
    for (int y = 0; y < kTexH; ++y)
        for (int x = 0; x < kTexW; ++x)
            tex.set(x, y, tubeTexel(x, y));
    if (!tex.save(dir + "tube_panels.png"))
        return false;

    std::cout << "tube: " << obj.triangleCount() << " triangles\n";
    return true;
}

} // namespace assetgen
