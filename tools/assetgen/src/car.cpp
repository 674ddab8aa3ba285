// The player's car: a low-poly sports coupe with one shared texture atlas.
//
// Model space: nose towards -z, x to the right, y up, roughly
// 1.24 (x) x 0.60 (y) x 2.02 (z) and centred on the origin. Every material
// points at the same diffuse atlas (and shininess atlas, map_Ks); the uvs pick the
// region. Faces are counter-clockwise seen from outside, with flat normals.

#include <array>
#include <cmath>
#include <iostream>

#include <glm/gtc/constants.hpp>

#include "assets.hpp"
#include "image.hpp"
#include "objwriter.hpp"

namespace assetgen {
namespace {

constexpr int kAtlas = 512;
constexpr float kInset = 2.0f / kAtlas; // keeps samples off region borders

struct Region {
    float u0, v0, u1, v1;
    glm::vec2 map(float s, float t) const
    {
        return {u0 + kInset + s * (u1 - u0 - 2 * kInset), v0 + kInset + t * (v1 - v0 - 2 * kInset)};
    }
    bool contains(float u, float v) const { return u >= u0 && u < u1 && v >= v0 && v < v1; }
    glm::vec2 local(float u, float v) const { return {(u - u0) / (u1 - u0), (v - v0) / (v1 - v0)}; }
};

// Atlas layout (v = 0 is the bottom of the image).
constexpr Region kBody{0.0f, 0.5f, 0.5f, 1.0f};
constexpr Region kGlassFront{0.5f, 0.75f, 0.75f, 1.0f};
constexpr Region kGlassSide{0.75f, 0.75f, 1.0f, 1.0f};
constexpr Region kRim{0.5f, 0.5f, 0.75f, 0.75f};
constexpr Region kTyre{0.75f, 0.5f, 1.0f, 0.75f};
constexpr Region kHeadLight{0.0f, 0.375f, 0.125f, 0.5f};
constexpr Region kTailLight{0.125f, 0.375f, 0.25f, 0.5f};
constexpr Region kTrim{0.25f, 0.25f, 0.5f, 0.5f};
constexpr Region kGrille{0.5f, 0.25f, 1.0f, 0.5f};

// ---------------------------------------------------------------- body shape

constexpr int kSectionPoints = 10;
using Section = std::array<glm::vec2, kSectionPoints>;

struct Station {
    float z, halfWidth, bottom, top;
};

Station stationAt(float z)
{
    const float nose = clamp01((-z - 0.55f) / 0.45f);
    const float tail = clamp01((z - 0.70f) / 0.30f);
    Station s;
    s.z = z;
    s.halfWidth = 0.60f - 0.10f * nose * nose - 0.05f * tail * tail;
    s.bottom = -0.21f + 0.04f * nose * nose + 0.04f * tail * tail;
    s.top = 0.085f - 0.115f * std::pow(nose, 1.5f) + 0.035f * smoothstep(0.3f, 1.0f, z);
    return s;
}

// Ring order: right side bottom-to-top, across the roof line, left side
// top-to-bottom, and back across the floor.
Section sectionOf(const Station& st)
{
    const float w = st.halfWidth, y0 = st.bottom, h = st.top - st.bottom;
    const glm::vec2 right[5] = {{0.88f * w, y0},
                                {0.97f * w, y0 + 0.25f * h},
                                {w, y0 + 0.55f * h},
                                {0.93f * w, y0 + 0.85f * h},
                                {0.78f * w, st.top}};
    Section s;
    for (int i = 0; i < 5; ++i) {
        s[i] = right[i];
        s[9 - i] = glm::vec2(-right[i].x, right[i].y);
    }
    return s;
}

// Texture u of each section point (fixed along the car so stripes stay
// straight), taken from the perimeter of the widest section. 11 entries: the
// last closes the ring.
std::array<float, kSectionPoints + 1> sectionU()
{
    const Section s = sectionOf(stationAt(0.0f));
    std::array<float, kSectionPoints + 1> u{};
    float total = 0.0f;
    for (int i = 0; i < kSectionPoints; ++i) {
        u[i] = total;
        total += glm::length(s[(i + 1) % kSectionPoints] - s[i]);
    }
    for (int i = 0; i < kSectionPoints; ++i)
        u[i] /= total;
    u[kSectionPoints] = 1.0f;
    return u;
}

constexpr float kStations[] = {-1.0f, -0.97f, -0.92f, -0.85f, -0.75f, -0.6f, -0.4f, -0.2f, 0.0f,
                               0.2f,  0.4f,   0.6f,   0.75f,  0.85f,  0.92f, 0.97f, 1.0f};

constexpr float kWheelRadius = 0.165f;
constexpr float kWheelHalfWidth = 0.075f;
constexpr float kWheelX = 0.545f;
constexpr float kWheelY = -0.30f + kWheelRadius;
constexpr float kFrontAxleZ = -0.62f;
constexpr float kRearAxleZ = 0.60f;

// ------------------------------------------------------------- mesh helpers

class CarBuilder {
public:
    explicit CarBuilder(ObjWriter& obj) : obj_(obj) {}

    // Emits a triangle with a flat normal, flipping the winding if needed so
    // the face looks along 'outward' (the direction away from the part).
    void tri(glm::vec3 a, glm::vec2 ta, glm::vec3 b, glm::vec2 tb, glm::vec3 c, glm::vec2 tc,
             const glm::vec3& outward)
    {
        glm::vec3 n = glm::cross(b - a, c - a);
        if (glm::length(n) < 1e-9f)
            return; // degenerate
        n = glm::normalize(n);
        if (glm::dot(n, outward) < 0.0f) {
            std::swap(b, c);
            std::swap(tb, tc);
            n = -n;
        }
        obj_.triangle({a, ta, n}, {b, tb, n}, {c, tc, n});
    }

    // Quad p0..p3 in ring order; 'centre' is a point inside the part.
    void quad(const std::array<glm::vec3, 4>& p, const std::array<glm::vec2, 4>& t, const glm::vec3& centre)
    {
        tri(p[0], t[0], p[1], t[1], p[2], t[2], (p[0] + p[1] + p[2]) / 3.0f - centre);
        tri(p[0], t[0], p[2], t[2], p[3], t[3], (p[0] + p[2] + p[3]) / 3.0f - centre);
    }

    void box(const glm::vec3& lo, const glm::vec3& hi, const Region& r)
    {
        const glm::vec3 c = (lo + hi) * 0.5f;
        const std::array<glm::vec2, 4> uv = {r.map(0, 0), r.map(1, 0), r.map(1, 1), r.map(0, 1)};
        for (int axis = 0; axis < 3; ++axis) {
            const int a1 = (axis + 1) % 3, a2 = (axis + 2) % 3;
            for (float side : {lo[axis], hi[axis]}) {
                std::array<glm::vec3, 4> p;
                const float k1[4] = {lo[a1], hi[a1], hi[a1], lo[a1]};
                const float k2[4] = {lo[a2], lo[a2], hi[a2], hi[a2]};
                for (int i = 0; i < 4; ++i) {
                    p[i][axis] = side;
                    p[i][a1] = k1[i];
                    p[i][a2] = k2[i];
                }
                quad(p, uv, c);
            }
        }
    }

private:
    ObjWriter& obj_;
};

void buildBody(ObjWriter& obj, CarBuilder& cb)
{
    const auto u = sectionU();
    const int n = static_cast<int>(sizeof kStations / sizeof kStations[0]);
    obj.object("body");
    obj.material("car_paint");
    for (int i = 0; i + 1 < n; ++i) {
        const Station s0 = stationAt(kStations[i]), s1 = stationAt(kStations[i + 1]);
        const Section a = sectionOf(s0), b = sectionOf(s1);
        const float t0 = (s0.z + 1.0f) * 0.5f, t1 = (s1.z + 1.0f) * 0.5f;
        const glm::vec3 centre(0.0f, 0.5f * (s0.bottom + s0.top + s1.bottom + s1.top) * 0.5f,
                               0.5f * (s0.z + s1.z));
        for (int k = 0; k < kSectionPoints; ++k) {
            const int k1 = (k + 1) % kSectionPoints;
            cb.quad(
                {glm::vec3(a[k], s0.z), glm::vec3(a[k1], s0.z), glm::vec3(b[k1], s1.z),
                 glm::vec3(b[k], s1.z)},
                {kBody.map(u[k], t0), kBody.map(u[k + 1], t0), kBody.map(u[k + 1], t1), kBody.map(u[k], t1)},
                centre);
        }
    }
    // Front fascia (grille) and rear panel close the body.
    obj.material("car_trim");
    for (int end = 0; end < 2; ++end) {
        const Station st = stationAt(end == 0 ? kStations[0] : kStations[n - 1]);
        const Section s = sectionOf(st);
        const Region& r = end == 0 ? kGrille : kTrim;
        auto uvOf = [&](const glm::vec2& p) {
            return r.map((p.x + st.halfWidth) / (2.0f * st.halfWidth),
                         (p.y - st.bottom) / (st.top - st.bottom));
        };
        const glm::vec3 out(0.0f, 0.0f, end == 0 ? -1.0f : 1.0f);
        for (int k = 1; k + 1 < kSectionPoints; ++k)
            cb.tri(glm::vec3(s[0], st.z), uvOf(s[0]), glm::vec3(s[k], st.z), uvOf(s[k]),
                   glm::vec3(s[k + 1], st.z), uvOf(s[k + 1]), out);
    }
}

void buildCabin(ObjWriter& obj, CarBuilder& cb)
{
    const float bx = 0.46f, by = 0.07f, bzf = -0.42f, bzr = 0.50f;
    const float tx = 0.35f, ty = 0.30f, tzf = -0.08f, tzr = 0.30f;
    const glm::vec3 bfl(-bx, by, bzf), bfr(bx, by, bzf), brl(-bx, by, bzr), brr(bx, by, bzr);
    const glm::vec3 tfl(-tx, ty, tzf), tfr(tx, ty, tzf), trl(-tx, ty, tzr), trr(tx, ty, tzr);
    const glm::vec3 centre(0.0f, 0.17f, 0.05f);
    const Region& gf = kGlassFront;
    const Region& gs = kGlassSide;
    obj.object("cabin");
    obj.material("car_glass");
    cb.quad({bfl, bfr, tfr, tfl}, {gf.map(0, 0), gf.map(1, 0), gf.map(1, 1), gf.map(0, 1)}, centre);
    cb.quad({brr, brl, trl, trr}, {gf.map(0, 0), gf.map(1, 0), gf.map(1, 1), gf.map(0, 1)}, centre);
    cb.quad({bfr, brr, trr, tfr}, {gs.map(0, 0), gs.map(1, 0), gs.map(1, 1), gs.map(0, 1)}, centre);
    cb.quad({brl, bfl, tfl, trl}, {gs.map(0, 0), gs.map(1, 0), gs.map(1, 1), gs.map(0, 1)}, centre);

    // The roof uses the body paint so the racing stripes run over it.
    const auto u = sectionU();
    const float uCentre = 0.5f * (u[4] + u[5]);
    const float uPerX = (u[5] - u[4]) / (2.0f * 0.78f * stationAt(0.0f).halfWidth);
    auto roofUv = [&](const glm::vec3& p) { return kBody.map(uCentre + p.x * uPerX, (p.z + 1.0f) * 0.5f); };
    obj.material("car_paint");
    cb.quad({tfl, tfr, trr, trl}, {roofUv(tfl), roofUv(tfr), roofUv(trr), roofUv(trl)}, centre);
}

void buildWheel(ObjWriter& obj, CarBuilder& cb, const std::string& name, float side, float z)
{
    constexpr int kSegs = 16;
    const glm::vec3 c(side * kWheelX, kWheelY, z);
    auto rimPoint = [&](int k, float x) {
        const float a = glm::two_pi<float>() * k / kSegs;
        return glm::vec3(x, c.y + kWheelRadius * std::cos(a), c.z + kWheelRadius * std::sin(a));
    };
    auto discUv = [&](const Region& r, int k) {
        const float a = glm::two_pi<float>() * k / kSegs;
        return r.map(0.5f + 0.5f * side * std::sin(a), 0.5f + 0.5f * std::cos(a));
    };
    const float xo = c.x + side * kWheelHalfWidth, xi = c.x - side * kWheelHalfWidth;

    obj.object(name);
    obj.material("car_tyre");
    for (int k = 0; k < kSegs; ++k) {
        const float t0 = static_cast<float>(k) / kSegs, t1 = static_cast<float>(k + 1) / kSegs;
        cb.quad({rimPoint(k, xi), rimPoint(k, xo), rimPoint(k + 1, xo), rimPoint(k + 1, xi)},
                {kTyre.map(0, t0), kTyre.map(1, t0), kTyre.map(1, t1), kTyre.map(0, t1)}, c);
    }
    for (int k = 0; k < kSegs; ++k) // inner side wall, never really seen
        cb.tri(glm::vec3(xi, c.y, c.z), kTrim.map(0.5f, 0.5f), rimPoint(k, xi), discUv(kTrim, k),
               rimPoint(k + 1, xi), discUv(kTrim, k + 1), glm::vec3(-side, 0.0f, 0.0f));
    obj.material("car_rim");
    for (int k = 0; k < kSegs; ++k)
        cb.tri(glm::vec3(xo, c.y, c.z), kRim.map(0.5f, 0.5f), rimPoint(k, xo), discUv(kRim, k),
               rimPoint(k + 1, xo), discUv(kRim, k + 1), glm::vec3(side, 0.0f, 0.0f));
}

void buildDetails(ObjWriter& obj, CarBuilder& cb)
{
    obj.object("spoiler_wing");
    obj.material("car_trim");
    cb.box({-0.50f, 0.21f, 0.80f}, {0.50f, 0.245f, 0.97f}, kTrim);
    obj.object("spoiler_strut_l");
    cb.box({-0.355f, 0.10f, 0.86f}, {-0.305f, 0.215f, 0.91f}, kTrim);
    obj.object("spoiler_strut_r");
    cb.box({0.305f, 0.10f, 0.86f}, {0.355f, 0.215f, 0.91f}, kTrim);

    const char* head[2] = {"headlight_l", "headlight_r"};
    const char* tail[2] = {"taillight_l", "taillight_r"};
    for (int i = 0; i < 2; ++i) {
        const float s = i == 0 ? -1.0f : 1.0f;
        obj.object(head[i]);
        obj.material("car_lights");
        cb.box({s * 0.30f - 0.09f, -0.113f, -1.012f}, {s * 0.30f + 0.09f, -0.057f, -0.985f}, kHeadLight);
        obj.object(tail[i]);
        obj.material("car_lights");
        cb.box({s * 0.33f - 0.11f, -0.01f, 0.985f}, {s * 0.33f + 0.11f, 0.05f, 1.012f}, kTailLight);
    }
}

// ---------------------------------------------------------------- texturing

struct Texel {
    glm::vec3 diffuse;
    float specular;
};

Texel bodyTexel(float s, float t, const std::array<float, kSectionPoints + 1>& u, float flake)
{
    const float z = t * 2.0f - 1.0f;
    int seg = 0;
    while (seg < kSectionPoints - 1 && s >= u[seg + 1])
        ++seg;
    const glm::vec3 paint(0.93f, 0.20f, 0.04f);
    static const float tone[kSectionPoints] = {0.10f, 0.78f, 0.92f, 1.06f, 1.0f,
                                               1.06f, 0.92f, 0.78f, 0.10f, 0.05f};
    glm::vec3 c = paint * tone[seg] * (0.97f + 0.06f * flake);
    float shine = 0.65f;
    if (seg == 0 || seg == 8 || seg == 9) { // skirts and floor: dark plastic
        c = glm::vec3(tone[seg] * 0.7f);
        shine = 0.15f;
    }
    const float px = 1.0f / 256.0f; // one texel of the body region
    if (seg == 4) { // twin racing stripes along the roof line
        const float uc = 0.5f * (u[4] + u[5]);
        const float perX = (u[5] - u[4]) / (2.0f * 0.78f * 0.60f);
        for (float off : {-0.07f, 0.07f}) {
            const float d = std::fabs(s - (uc + off * perX)) / perX; // model units
            if (d < 0.03f)
                c = glm::vec3(0.95f, 0.94f, 0.90f);
            else if (d < 0.03f + 0.004f)
                c *= 0.3f;
        }
    }
    if (seg == 2 || seg == 6) { // pin stripe on the flanks
        const float mid = 0.5f * (u[seg] + u[seg + 1]);
        if (std::fabs(s - mid) < 0.8f * px)
            c = glm::vec3(0.95f, 0.9f, 0.8f);
    }
    const bool flank = (seg >= 1 && seg <= 3) || (seg >= 5 && seg <= 7);
    if (flank) { // door gaps
        for (float gap : {-0.40f, 0.34f})
            if (std::fabs(z - gap) < 2.0f * px)
                c *= 0.25f; // z spans 2 units over the region
    }
    if (seg <= 1 || (seg >= 7 && seg <= 8)) { // wheel wells
        for (float wz : {kFrontAxleZ, kRearAxleZ})
            if (std::fabs(z - wz) < kWheelRadius + 0.04f) {
                c = glm::vec3(0.025f);
                shine = 0.05f;
            }
    }
    return {c, shine};
}

Texel glassTexel(float s, float t, bool pillar)
{
    const bool frame =
        s < 0.06f || s > 0.94f || t < 0.08f || t > 0.92f || (pillar && std::fabs(s - 0.5f) < 0.045f);
    if (frame)
        return {glm::vec3(0.03f, 0.03f, 0.035f), 0.3f};
    glm::vec3 c = glm::mix(glm::vec3(0.03f, 0.06f, 0.10f), glm::vec3(0.13f, 0.21f, 0.30f), t);
    const float streak = std::fabs((s + 0.6f * t) - 0.55f);
    c += glm::vec3(0.20f, 0.24f, 0.28f) * smoothstep(0.09f, 0.03f, streak);
    c += glm::vec3(0.08f, 0.10f, 0.12f) * smoothstep(0.03f, 0.01f, std::fabs((s + 0.6f * t) - 0.75f));
    return {c, 0.95f};
}

Texel tyreTexel(float s, float t)
{
    if (s < 0.08f || s > 0.92f)
        return {glm::vec3(0.085f), 0.08f};
    const float chevron = std::fabs(s - 0.5f) * 0.35f;
    const float f = t * 16.0f * 2.0f + chevron * 4.0f;
    const bool groove = (f - std::floor(f)) < 0.22f;
    return {glm::vec3(groove ? 0.025f : 0.06f), 0.06f};
}

Texel rimTexel(float s, float t)
{
    const float x = (s - 0.5f) * 2.0f, y = (t - 0.5f) * 2.0f;
    const float r = std::sqrt(x * x + y * y);
    const float a = std::atan2(y, x);
    if (r > 0.70f) { // tyre side wall with a thin letter band
        const float band = std::fabs(r - 0.83f) < 0.015f ? 0.16f : 0.07f;
        return {glm::vec3(band), 0.08f};
    }
    const glm::vec3 silver(0.72f, 0.74f, 0.78f);
    if (r > 0.62f)
        return {silver * 1.1f, 0.9f};
    if (r < 0.06f)
        return {glm::vec3(0.08f), 0.4f};
    if (r < 0.18f)
        return {silver * (0.85f + 0.4f * (0.18f - r)), 0.85f};
    const float sector = glm::two_pi<float>() / 5.0f;
    float d = std::fmod(a + glm::two_pi<float>(), sector);
    d = std::min(d, sector - d) * r; // arc distance to the nearest spoke axis
    if (d < 0.07f)
        return {silver * (0.8f + 0.25f * (1.0f - r)), 0.85f};
    if (r > 0.30f && r < 0.56f && a > 2.0f && a < 2.8f)
        return {glm::vec3(0.85f, 0.08f, 0.04f), 0.5f}; // brake caliper
    return {glm::vec3(0.04f), 0.2f};
}

Texel lightTexel(float s, float t, bool head)
{
    const float edge = std::min(std::min(s, 1.0f - s), std::min(t, 1.0f - t));
    if (edge < 0.08f)
        return {glm::vec3(0.12f), 0.4f};
    if (head) {
        const float hot = smoothstep(0.45f, 0.1f, glm::length(glm::vec2(s - 0.5f, t - 0.5f)));
        return {glm::mix(glm::vec3(0.80f, 0.85f, 0.95f), glm::vec3(1.0f, 0.98f, 0.88f), hot), 0.8f};
    }
    const bool bar = std::fabs(t - 0.5f) < 0.14f;
    return {bar ? glm::vec3(1.0f, 0.35f, 0.28f) : glm::vec3(0.85f, 0.04f, 0.03f), 0.7f};
}

Texel trimTexel(int x, int y)
{
    // Carbon weave: alternating 4x4 texel tows.
    const int cx = x / 4, cy = y / 4;
    const bool warp = ((cx + cy) / 2) % 2 == 0;
    const float along = warp ? (x % 4) / 3.0f : (y % 4) / 3.0f;
    const float v = 0.06f + 0.04f * std::sin(along * glm::pi<float>());
    return {glm::vec3(v, v, v * 1.1f), 0.3f};
}

Texel grilleTexel(float s, float t)
{
    if (s < 0.04f || s > 0.96f || t < 0.08f || t > 0.92f)
        return {glm::vec3(0.09f), 0.3f};
    const float f = t * 9.0f - std::floor(t * 9.0f);
    const float slat = smoothstep(0.15f, 0.0f, std::fabs(f - 0.5f));
    return {glm::vec3(0.025f) + glm::vec3(0.16f, 0.16f, 0.17f) * slat, 0.25f};
}

bool writeAtlas(const std::string& dir)
{
    const auto u = sectionU();
    Image diffuse(kAtlas, kAtlas, 3), specular(kAtlas, kAtlas, 3);
    for (int y = 0; y < kAtlas; ++y) {
        for (int x = 0; x < kAtlas; ++x) {
            const float uu = (x + 0.5f) / kAtlas, vv = (y + 0.5f) / kAtlas;
            Texel tx{glm::vec3(0.2f), 0.2f};
            if (kBody.contains(uu, vv)) {
                const glm::vec2 l = kBody.local(uu, vv);
                tx = bodyTexel(l.x, l.y, u, hash2(x, y, 5u));
            } else if (kGlassFront.contains(uu, vv)) {
                const glm::vec2 l = kGlassFront.local(uu, vv);
                tx = glassTexel(l.x, l.y, false);
            } else if (kGlassSide.contains(uu, vv)) {
                const glm::vec2 l = kGlassSide.local(uu, vv);
                tx = glassTexel(l.x, l.y, true);
            } else if (kRim.contains(uu, vv)) {
                const glm::vec2 l = kRim.local(uu, vv);
                tx = rimTexel(l.x, l.y);
            } else if (kTyre.contains(uu, vv)) {
                const glm::vec2 l = kTyre.local(uu, vv);
                tx = tyreTexel(l.x, l.y);
            } else if (kHeadLight.contains(uu, vv)) {
                const glm::vec2 l = kHeadLight.local(uu, vv);
                tx = lightTexel(l.x, l.y, true);
            } else if (kTailLight.contains(uu, vv)) {
                const glm::vec2 l = kTailLight.local(uu, vv);
                tx = lightTexel(l.x, l.y, false);
            } else if (kTrim.contains(uu, vv)) {
                tx = trimTexel(x, y);
            } else if (kGrille.contains(uu, vv)) {
                const glm::vec2 l = kGrille.local(uu, vv);
                tx = grilleTexel(l.x, l.y);
            }
            diffuse.set(x, y, glm::clamp(tx.diffuse, glm::vec3(0.0f), glm::vec3(1.0f)));
            specular.set(x, y, glm::vec3(tx.specular));
        }
    }
    return diffuse.save(dir + "car_diffuse.png") && specular.save(dir + "car_gloss.png");
}

} // namespace

bool generateCar(const std::string& outDir)
{
    const std::string dir = outDir + "/Resources/Objects/car/";
    ObjWriter obj("# Velorun player car, generated by velorun-assetgen; do not edit by hand.\n"
                  "# Nose towards -z, y up, about 1.24 x 0.60 x 2.02 model units.\n");
    CarBuilder cb(obj);
    buildBody(obj, cb);
    buildCabin(obj, cb);
    buildWheel(obj, cb, "wheel_fl", -1.0f, kFrontAxleZ);
    buildWheel(obj, cb, "wheel_fr", 1.0f, kFrontAxleZ);
    buildWheel(obj, cb, "wheel_rl", -1.0f, kRearAxleZ);
    buildWheel(obj, cb, "wheel_rr", 1.0f, kRearAxleZ);
    buildDetails(obj, cb);
    if (!obj.write(dir + "car.obj", "car.mtl"))
        return false;

    auto mat = [](const char* name, float ks, float ns) {
        Material m;
        m.name = name;
        m.ambient = glm::vec3(0.2f);
        m.diffuse = glm::vec3(1.0f);
        m.specular = glm::vec3(ks);
        m.shininess = ns;
        m.diffuseMap = "car_diffuse.png";
        m.specularMap = "car_gloss.png";
        return m;
    };
    const std::vector<Material> mats = {mat("car_paint", 0.8f, 96.0f),  mat("car_glass", 1.0f, 128.0f),
                                        mat("car_tyre", 0.1f, 8.0f),    mat("car_rim", 0.9f, 64.0f),
                                        mat("car_lights", 0.6f, 64.0f), mat("car_trim", 0.3f, 16.0f)};
    if (!ObjWriter::writeMtl(dir + "car.mtl", "# Velorun car materials, generated by velorun-assetgen.\n",
                             mats))
        return false;
    if (!writeAtlas(dir))
        return false;
    std::cout << "car: " << obj.triangleCount() << " triangles\n";
    return true;
}

} // namespace assetgen
