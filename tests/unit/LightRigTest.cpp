// The light rig: start positions of the point lights, their re-placing ahead of
// the camera, the spot light, and the six shadow-face transforms of a light.
#include "lighting/LightRig.h"
#include "lighting/ShadowMaps.h"
#include "scene/SceneObject.h"

#include "MatrixExpect.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace velorun {
namespace {

using scene::positionOf;
using velorun::testing::toNdc;
using velorun::testing::vectorsNear;

TEST(LightRig, StartPositionsAccumulateOnTheScaledMatrix)
{
    const float zs[8] = {-30.0f, -36.0f, -46.0f, -60.0f, -78.0f, -100.0f, -126.0f, -156.0f};
    const std::array<glm::mat4, 8> m = initialLightMatrices();
    for (std::size_t k = 0; k < 8; ++k) {
        SCOPED_TRACE("light " + std::to_string(k + 1));
        EXPECT_TRUE(vectorsNear(positionOf(m[k]), glm::vec3(1.8f, 2.1f, zs[k]), 1e-4f));
    }
}

TEST(LightRig, EveryMarkerKeepsScalePointTwo)
{
    for (const glm::mat4& m : initialLightMatrices()) {
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(m[axis][axis], 0.2f, 1e-6f);
        // no rotation or shear
        EXPECT_EQ(m[0][1], 0.0f);
        EXPECT_EQ(m[0][2], 0.0f);
        EXPECT_EQ(m[1][0], 0.0f);
        EXPECT_EQ(m[1][2], 0.0f);
        EXPECT_EQ(m[2][0], 0.0f);
        EXPECT_EQ(m[2][1], 0.0f);
        EXPECT_EQ(m[3][3], 1.0f);
    }
}

TEST(LightRig, MarkerCubeSpansAFifthOfAUnit)
{
    const glm::mat4 m = initialLightMatrices()[1];
    const glm::vec3 lo(m * glm::vec4(-0.5f, -0.5f, -0.5f, 1.0f));
    const glm::vec3 hi(m * glm::vec4(0.5f, 0.5f, 0.5f, 1.0f));
    EXPECT_TRUE(vectorsNear(hi - lo, glm::vec3(0.2f), 1e-5f));
    EXPECT_TRUE(vectorsNear((hi + lo) * 0.5f, glm::vec3(1.8f, 2.1f, -36.0f), 1e-4f));
}

TEST(LightRig, ReplacedLightsAreEvenlySpacedAheadOfTheCamera)
{
    const float cameraZ = -212.5f;
    const float ahead[8] = {30.0f, 50.0f, 70.0f, 90.0f, 110.0f, 130.0f, 150.0f, 170.0f};
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        EXPECT_FLOAT_EQ(relocatedLightZ(cameraZ, k), cameraZ - ahead[k - 1]);
    }
}

TEST(LightRig, ReplacedLightPositionFromCameraAtZero)
{
    EXPECT_FLOAT_EQ(relocatedLightZ(0.0f, 1), -30.0f);
    EXPECT_FLOAT_EQ(relocatedLightZ(0.0f, 8), -170.0f);
    EXPECT_FLOAT_EQ(relocatedLightZ(3.0f, 4), -87.0f);
}

TEST(LightRig, SpotRidesAboveAndAheadOfTheCar)
{
    EXPECT_TRUE(vectorsNear(spotLightPositionFor(glm::vec3(0.0f)), glm::vec3(0.1f, 0.3f, -0.2f), 1e-7f));
    const glm::vec3 spot = spotLightPositionFor(glm::vec3(0.0f, 0.0f, -12.5f));
    EXPECT_FLOAT_EQ(spot.x, 0.1f);
    EXPECT_FLOAT_EQ(spot.y, 0.3f);
    EXPECT_FLOAT_EQ(spot.z, -12.7f);
}

TEST(LightRig, SpotIsSummedInDoubleAndStoredAsFloat)
{
    const glm::vec3 car(1.2345678f, -2.7182817f, -312.34567f);
    const glm::vec3 spot = spotLightPositionFor(car);
    EXPECT_EQ(spot.x, static_cast<float>(static_cast<double>(car.x) + 0.1));
    EXPECT_EQ(spot.y, static_cast<float>(static_cast<double>(car.y) + 0.3));
    EXPECT_EQ(spot.z, static_cast<float>(static_cast<double>(car.z) - 0.2));
}

// --- shadow faces ----------------------------------------------------------------

struct Face {
    glm::vec3 axis; // the face's direction from the light
    glm::vec3 up; // the look-at up vector of that face
};

// GL cube-map face order: +X, -X, +Y, -Y, +Z, -Z.
const Face faces[6] = {
    {{1.0f, 0.0f, 0.0f}, {0.0f, -1.0f, 0.0f}}, {{-1.0f, 0.0f, 0.0f}, {0.0f, -1.0f, 0.0f}},
    {{0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}},  {{0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, -1.0f}},
    {{0.0f, 0.0f, 1.0f}, {0.0f, -1.0f, 0.0f}}, {{0.0f, 0.0f, -1.0f}, {0.0f, -1.0f, 0.0f}},
};

class ShadowFace : public ::testing::TestWithParam<int> {};

const glm::vec3 light(1.8f, 2.1f, -36.0f);

TEST_P(ShadowFace, OwnAxisLandsInTheCentre)
{
    const int i = GetParam();
    const glm::mat4 m = shadowTransforms(light)[static_cast<std::size_t>(i)];
    const glm::vec3 ndc = toNdc(m, light + faces[i].axis * 10.0f);
    EXPECT_NEAR(ndc.x, 0.0f, 1e-4f);
    EXPECT_NEAR(ndc.y, 0.0f, 1e-4f);
}

TEST_P(ShadowFace, DepthRunsFromNearOneToFar80)
{
    const int i = GetParam();
    const glm::mat4 m = shadowTransforms(light)[static_cast<std::size_t>(i)];
    EXPECT_NEAR(toNdc(m, light + faces[i].axis * 1.0f).z, -1.0f, 1e-4f);
    EXPECT_NEAR(toNdc(m, light + faces[i].axis * 80.0f).z, 1.0f, 1e-4f);
    // behind the face: w <= 0
    const glm::vec4 behind = m * glm::vec4(light - faces[i].axis * 5.0f, 1.0f);
    EXPECT_LT(behind.w, 0.0f);
}

TEST_P(ShadowFace, UpVectorPointsToTheTopOfTheFace)
{
    const int i = GetParam();
    const glm::mat4 m = shadowTransforms(light)[static_cast<std::size_t>(i)];
    // Right angle: at distance 1 along the axis the face spans -1..1.
    const glm::vec3 ndc = toNdc(m, light + faces[i].axis + faces[i].up * 0.5f);
    EXPECT_NEAR(ndc.x, 0.0f, 1e-4f);
    EXPECT_NEAR(ndc.y, 0.5f, 1e-4f);
}

TEST_P(ShadowFace, RightIsForwardCrossUp)
{
    const int i = GetParam();
    const glm::mat4 m = shadowTransforms(light)[static_cast<std::size_t>(i)];
    const glm::vec3 right = glm::cross(faces[i].axis, faces[i].up);
    const glm::vec3 ndc = toNdc(m, light + 2.0f * faces[i].axis + right * 1.5f);
    EXPECT_NEAR(ndc.x, 0.75f, 1e-4f);
    EXPECT_NEAR(ndc.y, 0.0f, 1e-4f);
}

TEST_P(ShadowFace, OtherAxesAreNotInTheCentreOfThisFace)
{
    const int i = GetParam();
    const glm::mat4 m = shadowTransforms(light)[static_cast<std::size_t>(i)];
    for (int j = 0; j < 6; ++j) {
        if (j == i)
            continue;
        const glm::vec4 clip = m * glm::vec4(light + faces[j].axis * 10.0f, 1.0f);
        const bool centred =
            clip.w > 0.0f && std::abs(clip.x / clip.w) < 1e-3f && std::abs(clip.y / clip.w) < 1e-3f;
        EXPECT_FALSE(centred) << "face " << i << " also centres axis " << j;
    }
}

INSTANTIATE_TEST_SUITE_P(LightRig, ShadowFace, ::testing::Range(0, 6));

TEST(LightRig, ShadowFacesFollowTheLight)
{
    const std::array<glm::mat4, 6> atOrigin = shadowTransforms(glm::vec3(0.0f));
    const std::array<glm::mat4, 6> moved = shadowTransforms(light);
    for (std::size_t i = 0; i < 6; ++i) {
        const glm::vec3 a = toNdc(atOrigin[i], glm::vec3(0.3f, -2.0f, 5.0f));
        const glm::vec3 b = toNdc(moved[i], light + glm::vec3(0.3f, -2.0f, 5.0f));
        EXPECT_TRUE(vectorsNear(a, b, 1e-4f)) << "face " << i;
    }
}

} // namespace
} // namespace velorun
