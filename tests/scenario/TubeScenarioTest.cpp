// The two tube segments leapfrog ahead of the camera, the point lights are
// re-placed with them, and the tube covers the view at every point on the way.
#include "ScenarioFixture.h"

#include "game/Toggles.h"
#include "lighting/SceneState.h"
#include "scene/RunState.h"

#include <cmath>
#include <sstream>

namespace velorun::scenario {
namespace {

using TubeScenario = GameScenario;

TEST_F(TubeScenario, SegmentsLeapfrogAndLightsMoveAheadOfTheCamera)
{
    EXPECT_FLOAT_EQ(tubeAZ(), 0.0f);
    EXPECT_FLOAT_EQ(tubeBZ(), 300.0f);
    game.frame(tinyStep);
    // tubeB started 300 units behind: the first frame puts it 90 beyond tubeA.
    EXPECT_FLOAT_EQ(tubeAZ(), 0.0f);
    EXPECT_FLOAT_EQ(tubeBZ(), -90.0f);
    const float initialLightZ[] = {-30, -36, -46, -60, -78, -100, -126, -156};
    for (int k = 1; k <= pointLightCount; ++k)
        EXPECT_FLOAT_EQ(pointLightPosition(k).z, initialLightZ[k - 1]) << "light " << k;

    // Expected state, advanced with the recycling rule after every frame.
    float a = tubeAZ();
    float b = tubeBZ();
    float lightZ[8];
    for (int k = 1; k <= 8; ++k)
        lightZ[k - 1] = pointLightPosition(k).z;
    int recycledA = 0;
    int recycledB = 0;

    // Jump the car 20 units at a time over 540 units of tube.
    for (int step = 1; step <= 27; ++step) {
        const float carZ = -12.5f - 20.0f * static_cast<float>(step);
        placeCar({safeX, safeY, carZ});
        game.frame(tinyStep);
        ASSERT_FALSE(run.gameOver);
        const float camZ = cameraPosition().z;
        ASSERT_NEAR(camZ, carZ + 5.0f, 0.02f);

        const float dA = a - camZ;
        const float dB = b - camZ;
        if (dA > 150.0f) {
            a = b - 90.0f;
            for (int k = 1; k <= 8; ++k)
                lightZ[k - 1] = camZ - static_cast<float>(10 + 20 * k);
            ++recycledA;
        }
        if (dB > 150.0f) {
            b = a - 90.0f;
            ++recycledB;
        }
        ASSERT_FLOAT_EQ(tubeAZ(), a) << "step " << step << ", camera z " << camZ;
        ASSERT_FLOAT_EQ(tubeBZ(), b) << "step " << step << ", camera z " << camZ;
        for (int k = 1; k <= pointLightCount; ++k) {
            const glm::vec3 light = pointLightPosition(k);
            ASSERT_FLOAT_EQ(light.z, lightZ[k - 1]) << "light " << k << ", step " << step;
            ASSERT_FLOAT_EQ(light.x, 1.8f);
            ASSERT_FLOAT_EQ(light.y, 2.1f);
        }
        // Both segments always start within 150 units behind and 90 ahead of
        // the other, so one of them is always the leading one, 90 apart.
        EXPECT_FLOAT_EQ(std::fabs(tubeAZ() - tubeBZ()), 90.0f);
        EXPECT_LE(tubeAZ() - camZ, 150.0f);
        EXPECT_LE(tubeBZ() - camZ, 150.0f);
    }
    EXPECT_GE(recycledA, 2);
    EXPECT_GE(recycledB, 2);

    // One frame far longer than a segment (a machine that stalled): the
    // segments leapfrog until the camera is back inside the tube.
    placeCar({safeX, safeY, cameraPosition().z - 5.0f - 1000.0f});
    game.frame(tinyStep);
    const float farCamZ = cameraPosition().z;
    EXPECT_FLOAT_EQ(std::fabs(tubeAZ() - tubeBZ()), 90.0f);
    EXPECT_LE(std::max(tubeAZ(), tubeBZ()) - farCamZ, 150.0f);
    EXPECT_GE(std::max(tubeAZ(), tubeBZ()) - farCamZ, 60.0f) << "the camera is beyond the tube";

    // Spot-check one recycling by hand: the camera just passed 150 units
    // beyond tubeA's origin, so tubeA leaps 90 beyond tubeB and lights are at
    // camera z - 30, -50, ..., -170.
    const float leadA = tubeAZ();
    const float leadB = tubeBZ();
    const float behind = std::max(leadA, leadB); // the segment that goes next
    placeCar({safeX, safeY, behind - 150.5f - 5.0f});
    game.frame(tinyStep);
    const float camZ = cameraPosition().z;
    if (behind == leadA) {
        EXPECT_FLOAT_EQ(tubeAZ(), leadB - 90.0f);
        for (int k = 1; k <= 8; ++k)
            EXPECT_FLOAT_EQ(pointLightPosition(k).z, camZ - static_cast<float>(10 + 20 * k));
    } else {
        EXPECT_FLOAT_EQ(tubeBZ(), leadA - 90.0f);
    }
}

// Pixels on a ring 70..260 px around the view centre look at the tube wall
// 10 to 45 units ahead: nearer than where the fog starts. The clear colour
// there (within 2 per channel; the grey-blue panels come within 10 of it)
// means a hole in the tube.
int clearPixelsOnRing(const Screenshot& shot, int& ringSize)
{
    const Rgb clear = clearColour();
    int n = 0;
    ringSize = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const double r = std::hypot(x - shot.width / 2.0, y - shot.height / 2.0);
            if (r < 70.0 || r > 260.0)
                continue;
            ++ringSize;
            if (near(shot.at(x, y), clear, 2))
                ++n;
        }
    return n;
}

TEST_F(PictureScenario, TubeCoversTheViewThroughoutARecyclingCycle)
{
    // Flares are additive overlays unrelated to the tube; they stay off here
    // so a hole would show the bare clear colour.
    settings.lensFlaresEnabled = false;
    game.frame(tinyStep);
    int ringSize = 0;
    // 14 stops 15 units apart: 195 units, more than the 180 of a full cycle.
    for (int stop = 0; stop < 14; ++stop) {
        placeCar({0.0f, 0.0f, -12.5f - 15.0f * static_cast<float>(stop)});
        game.frame(tinyStep); // moves the camera and uploads its view
        game.frame(0.0); // draws with that view and the recycled tubes
        ASSERT_FALSE(run.gameOver);
        const Screenshot shot = game.captureFrame();
        std::ostringstream name;
        name << "tube_continuity_" << (stop < 10 ? "0" : "") << stop;
        const std::string path = game.save(shot, name.str());
        const int holes = clearPixelsOnRing(shot, ringSize);
        EXPECT_LT(holes, ringSize / 200) << "camera z " << cameraPosition().z << ", tubeA " << tubeAZ()
                                         << ", tubeB " << tubeBZ() << "; see " << path;
    }

    // The check does see a missing tube: both segments moved far ahead.
    tubeA->modelMatrix[3][2] = cameraPosition().z - 400.0f;
    tubeB->modelMatrix[3][2] = cameraPosition().z - 490.0f;
    game.frame(0.0);
    const Screenshot empty = game.captureFrame();
    game.save(empty, "tube_continuity_control_no_tube");
    EXPECT_GT(clearPixelsOnRing(empty, ringSize), ringSize / 2);
}

} // namespace
} // namespace velorun::scenario
