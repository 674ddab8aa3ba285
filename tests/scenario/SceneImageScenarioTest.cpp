// Where things appear on screen. Objects are located by difference: the same
// frame drawn twice with a time step of 0 (nothing moves, the view is the
// same), once with the object and once without it.
#include "ScenarioFixture.h"

#include "game/Toggles.h"
#include "lighting/SceneState.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <glm/gtc/matrix_transform.hpp>

namespace velorun::scenario {
namespace {

using SceneImage = PictureScenario;

TEST_F(SceneImage, CarObstacleMarkersAndScoreAppearWhereTheyBelong)
{
    game.frames(3, frameStep);
    game.frame(0.0);
    const Screenshot withCar = game.captureFrame();
    game.save(withCar, "scene_with_car");
    const glm::vec3 eye = cameraPosition();
    const glm::vec3 car = carPosition();

    // The car 20 units back is behind the view uploaded last frame.
    placeCar(car + glm::vec3(0.0f, 0.0f, 20.0f));
    game.frame(0.0);
    const Screenshot withoutCar = game.captureFrame();
    game.save(withoutCar, "scene_without_car");

    glm::vec2 expected;
    ASSERT_TRUE(projectToWindow(car, eye, 800, 600, expected));
    // One unit below the eye and five ahead: centred, well below the middle.
    EXPECT_NEAR(expected.x, 400.0f, 1.0f);
    EXPECT_LT(expected.y, 200.0f);
    const DiffBlob carBlob = diffBlob(withCar, withoutCar, 40);
    EXPECT_GT(carBlob.count, 800);
    EXPECT_NEAR(carBlob.centroid.x, expected.x, 25.0f);
    EXPECT_NEAR(carBlob.centroid.y, expected.y, 30.0f);

    // Back to the car's place; one frame to upload its view again.
    placeCar(car);
    game.frame(0.0);
    ASSERT_EQ(cameraPosition(), eye);

    // An obstacle up and to the right, 14 units ahead of the eye.
    const glm::vec3 cubeAt(1.2f, 1.6f, eye.z - 14.0f);
    run.cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), cubeAt), cubeShader.get()));
    game.frame(0.0);
    const Screenshot withCube = game.captureFrame();
    game.save(withCube, "scene_with_obstacle");
    run.cubes.clear();
    game.frame(0.0);
    const Screenshot withoutCube = game.captureFrame();
    ASSERT_TRUE(projectToWindow(cubeAt, eye, 800, 600, expected));
    const DiffBlob cubeBlob = diffBlob(withCube, withoutCube, 40);
    EXPECT_GT(cubeBlob.count, 400);
    EXPECT_NEAR(cubeBlob.centroid.x, expected.x, 25.0f);
    EXPECT_NEAR(cubeBlob.centroid.y, expected.y, 25.0f);
    EXPECT_GT(expected.x, 400.0f);
    EXPECT_GT(expected.y, 300.0f);

    // Light markers without flares on top: near-white at each projected light
    // within 60 units, and not at the mirror-image spot across the centre.
    settings.lensFlaresEnabled = false;
    game.frame(0.0);
    const Screenshot markers = game.captureFrame();
    game.save(markers, "scene_markers_no_flares");
    auto nearWhiteAround = [&](glm::vec2 at) {
        const int cx = static_cast<int>(std::lround(at.x)), cy = static_cast<int>(std::lround(at.y));
        return countPixels(markers, std::max(cx - 2, 0), std::max(cy - 2, 0), std::min(cx + 3, 800),
                           std::min(cy + 3, 600), [](const unsigned char* p) {
                               return p[0] >= 200 && p[1] >= 190 && p[2] >= 170;
                           }) > 0;
    };
    int checked = 0;
    for (int k = 1; k <= pointLightCount; ++k) {
        const glm::vec3 light = pointLightPosition(k);
        if (eye.z - light.z > 60.0f)
            continue;
        ASSERT_TRUE(projectToWindow(light, eye, 800, 600, expected));
        ++checked;
        EXPECT_TRUE(nearWhiteAround(expected))
            << "marker " << k << " at " << expected.x << ", " << expected.y;
        EXPECT_FALSE(nearWhiteAround(glm::vec2(800.0f - expected.x, expected.y))) << "mirror of marker " << k;
    }
    EXPECT_GE(checked, 3);

    // Score text: green (0.5, 0.8, 0.2) at the bottom left, none bottom right.
    const Rgb green = toRgb(0.5f, 0.8f, 0.2f);
    auto isGreen = [&](const unsigned char* p) { return near(p, green, 50); };
    EXPECT_GT(countPixels(withCar, 0, 0, 240, 45, isGreen), 150);
    EXPECT_LT(countPixels(withCar, 560, 0, 800, 45, isGreen), 10);
    EXPECT_LT(countPixels(withCar, 0, 555, 240, 600, isGreen), 10);
}

} // namespace
} // namespace velorun::scenario
