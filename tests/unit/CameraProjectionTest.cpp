// The camera's view and every projection the game draws with.
#include "render/Camera.h"
#include "render/Projections.h"

#include "MatrixExpect.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace glm {
// Readable names for parameterised camera cases.
static void PrintTo(const vec3& v, std::ostream* os)
{
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
} // namespace glm

namespace velorun {
namespace {

using velorun::testing::matricesNear;
using velorun::testing::toNdc;
using velorun::testing::vectorsNear;

glm::mat4 translation(float x, float y, float z)
{
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

// --- camera ------------------------------------------------------------------

TEST(Camera, InitialViewIsATranslationByMinus3AlongZ)
{
    EXPECT_TRUE(matricesNear(Camera().viewMatrix(), translation(0.0f, 0.0f, -3.0f)));
}

class CameraFollowingCar : public ::testing::TestWithParam<glm::vec3> {};

TEST_P(CameraFollowingCar, ViewIsTheInverseOfOneUpAndFiveBehind)
{
    const glm::vec3 car = GetParam();
    Camera camera;
    camera.position = glm::vec3(car.x, car.y + 1.0f, car.z + 5.0f);
    EXPECT_TRUE(matricesNear(camera.viewMatrix(), translation(-car.x, -car.y - 1.0f, -car.z - 5.0f), 1e-4f));
}

INSTANTIATE_TEST_SUITE_P(Camera, CameraFollowingCar,
                         ::testing::Values(glm::vec3(0.0f, 0.0f, -12.5f), glm::vec3(1.25f, -0.75f, -40.0f),
                                           glm::vec3(-2.0f, 2.5f, -731.25f), glm::vec3(0.0f, 0.0f, 0.0f)));

TEST(Camera, TheCarAppearsBelowTheCentreAndAhead)
{
    Camera camera;
    const glm::vec3 car(0.5f, 0.0f, -20.0f);
    camera.position = glm::vec3(car.x, car.y + 1.0f, car.z + 5.0f);
    const glm::vec3 eye = glm::vec3(camera.viewMatrix() * glm::vec4(car, 1.0f));
    EXPECT_TRUE(vectorsNear(eye, glm::vec3(0.0f, -1.0f, -5.0f), 1e-4f));
}

TEST(Camera, ViewFollowsAnExplicitFrontAndUp)
{
    const Camera camera(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(0.0f, 0.0f, -1.0f),
                        glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_TRUE(matricesNear(camera.viewMatrix(), translation(-1.0f, -2.0f, -3.0f)));
}

// --- window aspect -----------------------------------------------------------

TEST(Projections, FourByThreeWindowsShareOneAspect)
{
    EXPECT_FLOAT_EQ(windowAspect(1024, 768), 1.3333334f);
    EXPECT_FLOAT_EQ(windowAspect(800, 600), 1.3333334f);
    EXPECT_EQ(windowAspect(1024, 768), windowAspect(800, 600));
}

TEST(Projections, WideWindowAspect) { EXPECT_FLOAT_EQ(windowAspect(1280, 720), 1.7777778f); }

TEST(Projections, ZeroHeightWindowGivesNoAspect)
{
    EXPECT_EQ(windowAspect(800, 0), 0.0f);
    EXPECT_TRUE(std::isfinite(windowAspect(800, 0)));
}

// A frame draws only into a window with an area, and projects afresh only
// when the size differs from the one it projected for; a window without an
// area keeps that size, so coming back at it costs nothing.
struct ViewportCase {
    const char* name;
    glm::ivec2 projectedFor, size;
    bool minimised;
    bool draw, reproject;
};

void PrintTo(const ViewportCase& c, std::ostream* os) { *os << c.name; }

class WindowSizes : public ::testing::TestWithParam<ViewportCase> {};

TEST_P(WindowSizes, DrawAndProjectOnlyWhereThereIsAnAreaThatChanged)
{
    const ViewportCase& c = GetParam();
    const ViewportChange change = viewportChange(c.projectedFor, c.size, c.minimised);
    EXPECT_EQ(change.draw, c.draw);
    EXPECT_EQ(change.reproject, c.reproject);
}

INSTANTIATE_TEST_SUITE_P(
    Projections, WindowSizes,
    ::testing::Values(ViewportCase{"Unchanged", {800, 600}, {800, 600}, false, true, false},
                      ViewportCase{"Resized", {800, 600}, {1200, 500}, false, true, true},
                      ViewportCase{"NoHeight", {800, 600}, {1200, 0}, false, false, false},
                      ViewportCase{"NoWidth", {800, 600}, {0, 500}, false, false, false},
                      ViewportCase{"NoArea", {800, 600}, {0, 0}, false, false, false},
                      ViewportCase{"Minimised", {800, 600}, {800, 600}, true, false, false},
                      ViewportCase{"MinimisedAndResized", {800, 600}, {1200, 500}, true, false, false},
                      ViewportCase{"FirstAreaAfterStartingWithout", {0, 0}, {800, 600}, false, true, true}),
    [](const ::testing::TestParamInfo<ViewportCase>& info) { return std::string(info.param.name); });

// --- scene projection --------------------------------------------------------

// 70.0 is handed over as radians: the focal factor is 1 / tan(35.0 rad).
const double focal = 1.0 / std::tan(35.0);

TEST(Projections, SceneFieldOfViewIs70TakenAsRadians)
{
    const glm::mat4 p = sceneProjection(windowAspect(800, 600));
    EXPECT_NEAR(p[1][1], 2.1105296, 1e-5);
    EXPECT_NEAR(p[1][1], focal, 1e-5);
    // 70 degrees would give about 1.428.
    const double seventyDegrees = 1.0 / std::tan(35.0 * 3.14159265358979 / 180.0);
    EXPECT_GT(std::abs(p[1][1] - seventyDegrees), 0.5);
}

TEST(Projections, SceneHorizontalScaleFollowsTheAspect)
{
    EXPECT_NEAR(sceneProjection(1.3333334f)[0][0], focal / 1.3333334, 1e-5);
    EXPECT_NEAR(sceneProjection(1.7777778f)[0][0], focal / 1.7777778, 1e-5);
}

TEST(Projections, SceneDepthRangeIsPoint1To100)
{
    const glm::mat4 p = sceneProjection(1.3333334f);
    EXPECT_NEAR(toNdc(p, glm::vec3(0.0f, 0.0f, -0.1f)).z, -1.0f, 1e-4f);
    EXPECT_NEAR(toNdc(p, glm::vec3(0.0f, 0.0f, -100.0f)).z, 1.0f, 1e-4f);
    EXPECT_NEAR(p[2][3], -1.0f, 0.0f); // right-handed: w = -z_eye
}

TEST(Projections, SceneTopEdgeAtTheEffectiveHalfAngle)
{
    // A point at height tan(35.0) * d and distance d lies on the top edge.
    const glm::mat4 p = sceneProjection(1.3333334f);
    const float d = 10.0f;
    const glm::vec3 ndc = toNdc(p, glm::vec3(0.0f, static_cast<float>(std::tan(35.0)) * d, -d));
    EXPECT_NEAR(ndc.y, 1.0f, 1e-4f);
}

TEST(Projections, FireworksAlwaysUseFourByThree)
{
    const glm::mat4 p = fireworksProjection();
    EXPECT_NEAR(p[1][1], focal, 1e-5);
    EXPECT_NEAR(p[0][0], focal / (4.0 / 3.0), 1e-5);
    EXPECT_TRUE(matricesNear(p, sceneProjection(windowAspect(800, 600))));
    EXPECT_FALSE(matricesNear(p, sceneProjection(windowAspect(1280, 720))));
    EXPECT_NEAR(toNdc(p, glm::vec3(0.0f, 0.0f, -0.1f)).z, -1.0f, 1e-4f);
    EXPECT_NEAR(toNdc(p, glm::vec3(0.0f, 0.0f, -100.0f)).z, 1.0f, 1e-4f);
}

// --- shadow projection -------------------------------------------------------

TEST(Projections, ShadowFacesAreARightAngleFrom1To80)
{
    const glm::mat4 p = shadowProjection();
    EXPECT_NEAR(p[0][0], 1.0f, 1e-5f); // aspect 1, tan(45 deg) = 1
    EXPECT_NEAR(p[1][1], 1.0f, 1e-5f);
    EXPECT_NEAR(toNdc(p, glm::vec3(0.0f, 0.0f, -1.0f)).z, -1.0f, 1e-4f);
    EXPECT_NEAR(toNdc(p, glm::vec3(0.0f, 0.0f, -80.0f)).z, 1.0f, 1e-4f);
    // the corner of the face at distance 1
    const glm::vec3 corner = toNdc(p, glm::vec3(1.0f, 1.0f, -1.0f));
    EXPECT_NEAR(corner.x, 1.0f, 1e-5f);
    EXPECT_NEAR(corner.y, 1.0f, 1e-5f);
}

// --- text projection ---------------------------------------------------------

TEST(Projections, TextSpaceIs800By600FromTheBottomLeft)
{
    const glm::mat4 p = textProjection();
    EXPECT_TRUE(vectorsNear(toNdc(p, glm::vec3(0.0f, 0.0f, 0.0f)), glm::vec3(-1.0f, -1.0f, 0.0f)));
    EXPECT_TRUE(vectorsNear(toNdc(p, glm::vec3(800.0f, 600.0f, 0.0f)), glm::vec3(1.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(vectorsNear(toNdc(p, glm::vec3(400.0f, 300.0f, 0.0f)), glm::vec3(0.0f, 0.0f, 0.0f)));
    EXPECT_TRUE(vectorsNear(toNdc(p, glm::vec3(800.0f, 0.0f, 0.0f)), glm::vec3(1.0f, -1.0f, 0.0f)));
}

TEST(Projections, TextSpaceDepthRangeIsMinus1To1)
{
    const glm::mat4 p = textProjection();
    // glm::ortho with four arguments: near -1, far 1, so z maps to -z.
    EXPECT_NEAR(toNdc(p, glm::vec3(0.0f, 0.0f, 0.5f)).z, -0.5f, 1e-6f);
    EXPECT_NEAR(toNdc(p, glm::vec3(0.0f, 0.0f, -1.0f)).z, 1.0f, 1e-6f);
}

TEST(Projections, ScoreTextSitsInTheBottomLeftCorner)
{
    const glm::vec3 ndc = toNdc(textProjection(), glm::vec3(0.5f, 0.5f, 0.0f));
    EXPECT_NEAR(ndc.x, -1.0f + 0.5f / 400.0f, 1e-6f);
    EXPECT_NEAR(ndc.y, -1.0f + 0.5f / 300.0f, 1e-6f);
}

} // namespace
} // namespace velorun
