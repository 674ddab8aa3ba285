// Which faces of a light's cube map a box can reach.
#include "lighting/ShadowFaces.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <limits>

namespace velorun {
namespace {

constexpr FaceMask px = 1, nx = 2, py = 4, ny = 8, pz = 16, nz = 32;
const glm::vec3 light(1.8f, 2.1f, -30.0f);
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();

Bounds around(const glm::vec3& offset, const glm::vec3& half)
{
    return {light + offset - half, light + offset + half};
}

struct Reach {
    const char* what;
    glm::vec3 offset;
    glm::vec3 half;
    FaceMask faces;
};

void PrintTo(const Reach& r, std::ostream* os) { *os << r.what; }

class ShadowFacesReach : public testing::TestWithParam<Reach> {};

TEST_P(ShadowFacesReach, FacesFromTheBoxAlone)
{
    const Reach& r = GetParam();
    EXPECT_EQ(facesReaching(around(r.offset, r.half), light), r.faces) << r.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShadowFacesReach,
    testing::Values(Reach{"straight along +x", {10, 0, 0}, {0.5f, 0.5f, 0.5f}, px},
                    Reach{"straight along -z", {0, 0, -10}, {0.5f, 0.5f, 0.5f}, nz},
                    Reach{"the car 25 behind, off the axis", {-2, -3, 25}, {0.3f, 0.15f, 0.5f}, pz},
                    Reach{"on the +x/+y edge: both", {10, 10, 0}, {0.5f, 0.5f, 0.5f}, px | py},
                    Reach{"just past the +x pyramid's side", {10, 10.5f, 0}, {0.1f, 0.1f, 0.1f}, py},
                    Reach{
                        "around the light: every face", {0, 0, 0.5f}, {2, 2, 2}, px | nx | py | ny | pz | nz},
                    Reach{"within the far plane", {0, 0, -79}, {0.2f, 0.2f, 0.2f}, nz},
                    Reach{"beyond the far plane", {0, 0, -81}, {0.2f, 0.2f, 0.2f}, 0},
                    Reach{"nearer than the near plane", {0, 0, -0.5f}, {0.1f, 0.1f, 0.1f}, 0},
                    Reach{"crossing the near plane", {0, 0, -1.2f}, {0.5f, 0.5f, 0.5f}, nz},
                    Reach{"NaN: every face", {nan, 0, -10}, {0.5f, 0.5f, 0.5f}, allFaces},
                    Reach{"infinite along x, beyond the far plane along z: every face",
                          {0, 0, -200},
                          {inf, 0.5f, 0.5f},
                          allFaces},
                    Reach{"infinite along y: every face", {0, 0, -200}, {0.5f, inf, 0.5f}, allFaces},
                    Reach{"NaN along z: every face", {10, 0, nan}, {0.5f, 0.5f, 0.5f}, allFaces}));

TEST(ShadowFaces, TransformedBoundsHoldTheWholeTransformedBox)
{
    const Bounds unit{glm::vec3(-0.5f), glm::vec3(0.5f)};
    const glm::mat4 tube = glm::scale(glm::translate(glm::mat4(1.0f), {0, 0, -90}), {4, 4, 15});
    const Bounds t = transformedBounds(unit, tube);
    EXPECT_EQ(t.min, glm::vec3(-2, -2, -97.5f));
    EXPECT_EQ(t.max, glm::vec3(2, 2, -82.5f));

    // A quarter turn about z swaps the x and y extents of a long box.
    const Bounds stick{{-2, -0.5f, -0.5f}, {2, 0.5f, 0.5f}};
    const Bounds turned =
        transformedBounds(stick, glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {0, 0, 1}));
    EXPECT_NEAR(turned.max.x, 0.5f, 1e-5f);
    EXPECT_NEAR(turned.max.y, 2.0f, 1e-5f);
}

} // namespace
} // namespace velorun
