// Obstacle spawning, speed-ups and the removal of obstacles behind the camera.
#include "ScenarioFixture.h"

#include "lighting/SceneState.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>

namespace velorun::scenario {
namespace {

glm::vec3 cubePosition(size_t i) { return scene::positionOf(run.cubes.at(i)->modelMatrix); }

using SpawnScenario = GameScenario;

TEST_F(SpawnScenario, ObstacleAppearsFiftyAheadOfTheCameraInTheUpperRightQuadrant)
{
    game.frame(tinyStep);
    placeCar({safeX, safeY, carPosition().z});
    game.frame(tinyStep);
    ASSERT_TRUE(run.cubes.empty());
    const float cameraZ = cameraPosition().z;

    // The draws of this frame are drawn again from a copy of the generator as
    // it stood: y comes from the first draw, x from the second.
    GameRandom copy = session.gameRandom;
    game.frame(1.0); // spawn timer 2/1024 + 1.0 > 1
    ASSERT_EQ(run.cubes.size(), 1u);
    const int r1 = copy.draw();
    const int r2 = copy.draw();
    const glm::vec3 c = cubePosition(0);
    EXPECT_FLOAT_EQ(c.z, cameraZ - 50.0f) << "spawn uses the camera of the previous frame";
    EXPECT_FLOAT_EQ(c.y, 2.0f * (static_cast<float>(r1) / 32767.0f));
    EXPECT_FLOAT_EQ(c.x, 2.0f * (static_cast<float>(r2) / 32767.0f));
    EXPECT_EQ(run.spawnTimer, 0.0) << "the timer restarts at 0, it is not reduced by 1";
}

TEST_F(SpawnScenario, WithFramesOfPointThreeSecondsObstaclesComeEveryFourthFrame)
{
    game.frame(tinyStep);
    placeCar({safeX, safeY, carPosition().z});
    game.frame(1.0);
    ASSERT_EQ(run.cubes.size(), 1u);
    ASSERT_EQ(run.spawnTimer, 0.0);

    // 0.3, 0.6, 0.9, 1.2 > 1 -> spawn and restart; so frames 4 and 8 spawn
    // (a timer reduced by 1 instead would spawn again on frame 7).
    std::vector<int> spawnFrames;
    for (int frame = 1; frame <= 8; ++frame) {
        const size_t before = run.cubes.size();
        const float cameraZ = cameraPosition().z;
        game.frame(0.3);
        ASSERT_FALSE(run.gameOver);
        if (run.cubes.size() > before) {
            spawnFrames.push_back(frame);
            EXPECT_FLOAT_EQ(cubePosition(run.cubes.size() - 1).z, cameraZ - 50.0f);
        }
    }
    EXPECT_EQ(spawnFrames, (std::vector<int>{4, 8}));
}

using SpeedScenario = GameScenario;

TEST_F(SpeedScenario, SpeedUpBringsTheSpawnTimerCloserOnlyAboveFourTenths)
{
    game.frame(tinyStep);
    placeCar({safeX, safeY, carPosition().z});

    // Timer values after stage 2 of the frame: 0.25 + 0.25 = 0.5.
    run.speedUpTimer = 9.875;
    run.spawnTimer = 0.25;
    game.frame(0.25);
    EXPECT_FLOAT_EQ(car->speed, 12.6f);
    EXPECT_EQ(run.speedUpTimer, 0.0);
    EXPECT_DOUBLE_EQ(run.spawnTimer, 0.3);

    // Exactly 0.4 after stage 2: unchanged.
    const double start = 0.4 - 0.25;
    ASSERT_EQ(start + 0.25, 0.4);
    run.speedUpTimer = 9.875;
    run.spawnTimer = start;
    game.frame(0.25);
    EXPECT_FLOAT_EQ(car->speed, 15.12f);
    EXPECT_EQ(run.spawnTimer, 0.4);

    // Exactly 10 s is not yet a speed-up.
    run.speedUpTimer = 9.75;
    game.frame(0.25);
    EXPECT_FLOAT_EQ(car->speed, 15.12f);
    EXPECT_EQ(run.speedUpTimer, 10.0);
}

TEST_F(SpeedScenario, SpeedClimbsByTwentyPercentEveryTenSecondsAndStopsAbove30)
{
    game.frame(tinyStep);
    placeCar({safeX, safeY, carPosition().z});
    const float expected[] = {10.5f, 12.6f, 15.12f, 18.144f, 21.7728f, 26.12736f, 31.352833f};

    // Frames of 5.25 s: every second frame crosses 10 s.
    std::vector<float> speeds{car->speed};
    for (int i = 0; i < 12; ++i) {
        const float before = car->speed;
        const glm::vec3 p = carPosition();
        game.frame(5.25);
        ASSERT_FALSE(run.gameOver);
        // Stage 3 runs before the car moves, so the new speed drives this frame.
        EXPECT_NEAR(carPosition().z, p.z - car->speed * 5.25f, 1e-2f * car->speed);
        if (car->speed != before)
            speeds.push_back(car->speed);
    }
    ASSERT_EQ(speeds.size(), std::size(expected));
    for (size_t i = 0; i < speeds.size(); ++i)
        EXPECT_FLOAT_EQ(speeds[i], expected[i]) << "speed-up " << i;
    // Frames 2, 4, ..., 12 each crossed 10 s: the sixth speed-up (to 31.35)
    // reset the timer on frame 12.
    EXPECT_EQ(run.speedUpTimer, 0.0);
    for (int i = 0; i < 3; ++i)
        game.frame(5.25);
    EXPECT_FLOAT_EQ(car->speed, 31.352833f);
    EXPECT_DOUBLE_EQ(run.speedUpTimer, 3 * 5.25) << "no reset once the speed is above 30";
}

using RemovalScenario = GameScenario;

TEST_F(RemovalScenario, CubesBehindTheCameraGoOnePerFrameOldestFirst)
{
    game.frame(tinyStep);
    placeCar({safeX, safeY, carPosition().z});
    game.frame(1.0625);
    game.frame(1.0625);
    ASSERT_EQ(run.cubes.size(), 2u);
    const scene::Cube* newer = run.cubes[1].get();
    ASSERT_GT(cubePosition(0).z, cubePosition(1).z);

    // Jump the car past both: the camera ends 5 units behind the car.
    placeCar({safeX, safeY, cubePosition(1).z - 10.0f});
    game.frame(tinyStep);
    ASSERT_EQ(run.cubes.size(), 1u);
    EXPECT_EQ(run.cubes[0].get(), newer);
    game.frame(tinyStep);
    EXPECT_TRUE(run.cubes.empty());

    // Only the newer cube is behind the camera: the oldest goes all the same.
    const float cameraZ = cameraPosition().z;
    run.cubes.push_back(scene::makeCube(
        glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 1.0f, cameraZ - 30.0f)), cubeShader.get()));
    run.cubes.push_back(scene::makeCube(
        glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 1.0f, cameraZ + 3.0f)), cubeShader.get()));
    const scene::Cube* behind = run.cubes[1].get();
    game.frame(tinyStep);
    ASSERT_EQ(run.cubes.size(), 1u);
    EXPECT_EQ(run.cubes[0].get(), behind);
    game.frame(tinyStep);
    EXPECT_TRUE(run.cubes.empty());

    // A cube ahead of the camera stays.
    run.cubes.push_back(
        scene::makeCube(glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 1.0f, cameraPosition().z - 20.0f)),
                        cubeShader.get()));
    game.frames(2, tinyStep);
    EXPECT_EQ(run.cubes.size(), 1u);
}

} // namespace
} // namespace velorun::scenario
