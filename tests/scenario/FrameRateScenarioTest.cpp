// Hits at any frame rate: a long frame cannot carry the car over a cube it
// drives through, and the GAME OVER view shows the car at that cube; at 60
// frames a second a run ends exactly where it always did.
#include "ScenarioFixture.h"

#include "game/StartUp.h"
#include "lighting/SceneState.h"
#include "rules/GameRules.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>
#include <vector>

namespace velorun::scenario {
namespace {

constexpr double longFrame = 0.2; // five frames a second
constexpr float topSpeed = 31.352833f;

using FrameRateScenario = GameScenario;

TEST_F(FrameRateScenario, InALongFrameACubeOnTheCarsWayEndsTheRunWithTheCarAtIt)
{
    // `alsoAhead`: a second cube on the way, put after the first in the run's list.
    const struct {
        float speed, ahead;
        bool hits;
        float alsoAhead = 0.0f;
    } cases[] = {{10.5f, 1.05f, true}, // the car moves 2.1
                 {10.5f, 3.2f, false}, // and ends 1.1 short of the cube
                 {topSpeed, 3.0f, true}, // the car moves 6.27
                 {topSpeed, 7.4f, false},
                 {topSpeed, 2.0f, true, 4.0f}, // both touched: the nearer one ends the run
                 {topSpeed, 4.0f, true, 2.0f},
                 {topSpeed, 2.0f, true, 6.0f}, // and the move ends in the further one
                 {topSpeed, 6.0f, true, 2.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ahead);
        resetRun(game.clock());
        session.bestScore.reset();
        game.frame(1.0 / 60.0);
        car->speed = c.speed;
        glm::vec3 cube = carPosition() + glm::vec3(0.3f, 0.3f, -c.ahead);
        run.cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), cube), cubeShader.get()));
        if (c.alsoAhead > 0.0f) {
            const glm::vec3 also = carPosition() + glm::vec3(0.3f, 0.3f, -c.alsoAhead);
            run.cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), also), cubeShader.get()));
            cube.z = std::max(cube.z, also.z); // the nearer
        }
        game.frame(longFrame);
        ASSERT_EQ(run.gameOver, c.hits);
        if (c.hits) { // face to face with the cube, the camera behind, the score from there
            EXPECT_NEAR(carPosition().z, cube.z + 1.0f, 1e-4);
            EXPECT_EQ(cameraPosition(), cameraFollowing(carPosition()));
            EXPECT_EQ(session.bestScore, scoreValue(carPosition().z));
        }
    }
}

TEST_F(FrameRateScenario, AtTopSpeedInTheObstaclesQuadrantNoCubePassesThroughTheCar)
{
    game.frame(1.0 / 60.0);
    car->speed = topSpeed;
    game.hold(GLFW_KEY_RIGHT);
    game.hold(GLFW_KEY_UP);
    game.frame(longFrame); // to (1.05, 1.05), the lane of most obstacles
    game.releaseAll();
    // A cube in the car's lane ahead of it before a frame is still wholly
    // ahead after it, unless that frame ended the run.
    int passed = 0;
    for (int i = 0; i < 20 && !run.gameOver; ++i) {
        const glm::vec3 before = carPosition();
        std::vector<glm::vec3> ahead;
        for (const auto& cube : run.cubes) {
            const glm::vec3 c = scene::positionOf(cube->modelMatrix);
            if (hitsCar({c.x, c.y, before.z - 0.5f}, before) && c.z < before.z)
                ahead.push_back(c);
        }
        game.frame(longFrame);
        for (const glm::vec3& c : ahead)
            passed += !run.gameOver && c.z > carPosition().z - 1.0f;
    }
    EXPECT_TRUE(run.gameOver);
    EXPECT_EQ(passed, 0) << "cubes that ended a frame beside or behind the car";
}

TEST_F(FrameRateScenario, AtSixtyFramesASecondARunEndsInTheSameFrameAndPlaceAsEver)
{
    game.frame(tinyStep);
    game.frame(1.0); // the first obstacle, 45 ahead of the car
    ASSERT_EQ(run.cubes.size(), 1u);
    const glm::vec3 cube = scene::positionOf(run.cubes[0]->modelMatrix);
    // 4 short of the cube and 1.2 left of it, beyond the car's right edge:
    // Right steers it into the lane on the way.
    placeCar({cube.x - 1.2f, cube.y - 0.4f, cube.z + 4.0f});
    game.hold(GLFW_KEY_RIGHT);
    int frames = 0;
    while (!run.gameOver && frames < 100) {
        game.frame(1.0 / 60.0);
        ++frames;
    }
    // What the game gave before a hit was tested along the car's move.
    EXPECT_EQ(frames, 18);
    EXPECT_EQ(carPosition(), glm::vec3(0x1.de3238p-1f, 0x1.5e6f8cp-1f, -0x1.c5482cp+5f));
    EXPECT_EQ(session.bestScore, 31);
}

} // namespace
} // namespace velorun::scenario
