// Lens-flare screen maths: projecting a light, brightness and element layout.
#include "lighting/FlareMath.h"
#include "render/Camera.h"
#include "render/Projections.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace velorun {
namespace {

constexpr float spacing = 0.2f;
constexpr std::size_t elementCount = 8;

TEST(FlareMath, LightRightOfCentre)
{
    const glm::vec2 s(0.6f, 0.5f);
    EXPECT_NEAR(flareBrightness(s), 0.2f - 0.1f / 1.2f, 1e-6f);
    EXPECT_NEAR(flareBrightness(s), 0.1167f, 1e-4f);

    const std::vector<glm::vec2> positions = flarePositions(s, elementCount, spacing);
    ASSERT_EQ(positions.size(), elementCount);
    const float xs[] = {0.60f, 0.58f, 0.56f, 0.54f, 0.52f, 0.50f, 0.48f, 0.46f};
    for (std::size_t i = 0; i < elementCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(positions[i].x, xs[i], 1e-6f);
        EXPECT_NEAR(positions[i].y, 0.5f, 1e-6f);
    }
}

TEST(FlareMath, LightInTheCentreIsBrightestAndAllElementsSitThere)
{
    const glm::vec2 centre(0.5f, 0.5f);
    EXPECT_FLOAT_EQ(flareBrightness(centre), 0.2f);
    for (const glm::vec2& p : flarePositions(centre, elementCount, spacing)) {
        EXPECT_FLOAT_EQ(p.x, 0.5f);
        EXPECT_FLOAT_EQ(p.y, 0.5f);
    }
}

TEST(FlareMath, LightFarFromCentreHasNoFlare)
{
    EXPECT_NEAR(flareBrightness(glm::vec2(0.8f, 0.5f)), -0.05f, 1e-6f);
    EXPECT_LE(flareBrightness(glm::vec2(0.8f, 0.5f)), 0.0f);
    EXPECT_LT(flareBrightness(glm::vec2(0.5f, 0.75f)), 0.0f); // beyond 0.24 from the centre
    EXPECT_GT(flareBrightness(glm::vec2(0.5f, 0.73f)), 0.0f); // within 0.24
}

TEST(FlareMath, BrightnessUsesTheEuclideanDistance)
{
    // d = (0.06, 0.08): length 0.1
    EXPECT_NEAR(flareBrightness(glm::vec2(0.44f, 0.42f)), 0.2f - 0.1f / 1.2f, 1e-6f);
}

TEST(FlareMath, ElementsRunThroughTheCentreAndBeyond)
{
    const glm::vec2 s(0.4f, 0.6f);
    const std::vector<glm::vec2> p = flarePositions(s, elementCount, spacing);
    ASSERT_EQ(p.size(), elementCount);
    const glm::vec2 d = glm::vec2(0.5f) - s;
    EXPECT_NEAR(p[0].x, 0.4f, 1e-6f); // on the light
    EXPECT_NEAR(p[0].y, 0.6f, 1e-6f);
    EXPECT_NEAR(p[5].x, 0.5f, 1e-6f); // on the centre
    EXPECT_NEAR(p[5].y, 0.5f, 1e-6f);
    EXPECT_NEAR(p[6].x, s.x + 1.2f * d.x, 1e-6f); // mirrored beyond it
    EXPECT_NEAR(p[6].y, s.y + 1.2f * d.y, 1e-6f);
    EXPECT_NEAR(p[7].x, s.x + 1.4f * d.x, 1e-6f);
    EXPECT_NEAR(p[7].y, s.y + 1.4f * d.y, 1e-6f);
}

TEST(FlareMath, ElementCountFollowsTheRequest)
{
    EXPECT_TRUE(flarePositions(glm::vec2(0.6f, 0.5f), 0, spacing).empty());
    EXPECT_EQ(flarePositions(glm::vec2(0.6f, 0.5f), 3, spacing).size(), 3u);
}

// --- projection to the screen -------------------------------------------------

glm::mat4 defaultView() { return Camera().viewMatrix(); } // eye (0, 0, 3) looking down -z

TEST(FlareMath, PointOnTheViewAxisLandsInTheCentre)
{
    const auto s = projectToScreen(sceneProjection(1.3333334f), defaultView(), glm::vec3(0.0f, 0.0f, -30.0f));
    ASSERT_TRUE(s.has_value());
    EXPECT_NEAR(s->x, 0.5f, 1e-6f);
    EXPECT_NEAR(s->y, 0.5f, 1e-6f);
}

TEST(FlareMath, ScreenYRunsDownwardsAndXToTheRight)
{
    const glm::mat4 projection = sceneProjection(1.3333334f);
    const auto upRight = projectToScreen(projection, defaultView(), glm::vec3(1.0f, 1.0f, -10.0f));
    ASSERT_TRUE(upRight.has_value());
    EXPECT_GT(upRight->x, 0.5f);
    EXPECT_LT(upRight->y, 0.5f);
}

TEST(FlareMath, PointOnTheTopEdgeHasScreenYZero)
{
    // Distance d in front of the eye at height tan(35.0) * d: NDC y = 1.
    const float d = 20.0f;
    const float h = static_cast<float>(std::tan(35.0)) * d;
    const auto s = projectToScreen(sceneProjection(1.3333334f), defaultView(), glm::vec3(0.0f, h, 3.0f - d));
    ASSERT_TRUE(s.has_value());
    EXPECT_NEAR(s->x, 0.5f, 1e-5f);
    EXPECT_NEAR(s->y, 0.0f, 1e-5f);
}

TEST(FlareMath, PointOnTheRightEdgeHasScreenXOne)
{
    const float aspect = 1.7777778f;
    const float d = 20.0f;
    const float w = static_cast<float>(std::tan(35.0)) * aspect * d;
    const auto s = projectToScreen(sceneProjection(aspect), defaultView(), glm::vec3(w, 0.0f, 3.0f - d));
    ASSERT_TRUE(s.has_value());
    EXPECT_NEAR(s->x, 1.0f, 1e-5f);
    EXPECT_NEAR(s->y, 0.5f, 1e-5f);
}

TEST(FlareMath, PointBehindTheCameraHasNoScreenPosition)
{
    const glm::mat4 projection = sceneProjection(1.3333334f);
    // Straight behind: its mirror image would fall exactly in the centre.
    EXPECT_FALSE(projectToScreen(projection, defaultView(), glm::vec3(0.0f, 0.0f, 10.0f)));
    EXPECT_FALSE(projectToScreen(projection, defaultView(), glm::vec3(0.1f, -0.1f, 4.0f)));
}

TEST(FlareMath, PointInTheCameraPlaneHasNoScreenPosition)
{
    EXPECT_FALSE(projectToScreen(sceneProjection(1.3333334f), defaultView(), glm::vec3(1.0f, 0.0f, 3.0f)));
}

TEST(FlareMath, OffScreenPointsStillProject)
{
    // No edge test: a light far to the side still gets a position, outside 0..1.
    const auto s =
        projectToScreen(sceneProjection(1.3333334f), defaultView(), glm::vec3(100.0f, 0.0f, -7.0f));
    ASSERT_TRUE(s.has_value());
    EXPECT_GT(s->x, 1.0f);
}

// --- element transform ----------------------------------------------------------

TEST(FlareMath, TransformCarriesScaleTimesAspect)
{
    const glm::vec4 t = flareTransform(glm::vec2(0.3f, 0.7f), 0.5f, 1280, 720);
    EXPECT_FLOAT_EQ(t.x, 0.3f);
    EXPECT_FLOAT_EQ(t.y, 0.7f);
    EXPECT_FLOAT_EQ(t.z, 0.5f);
    EXPECT_NEAR(t.w, 0.8889f, 1e-4f);
    EXPECT_FLOAT_EQ(t.w, 0.5f * 1280.0f / 720.0f);
}

TEST(FlareMath, TransformOnAFourByThreeWindow)
{
    const glm::vec4 t = flareTransform(glm::vec2(0.5f, 0.5f), 0.23f, 800, 600);
    EXPECT_FLOAT_EQ(t.z, 0.23f);
    EXPECT_FLOAT_EQ(t.w, 0.23f * 800.0f / 600.0f);
}

} // namespace
} // namespace velorun
