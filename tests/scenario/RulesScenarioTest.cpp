// Score, forward motion and steering, played through the real frame loop.
#include "ScenarioFixture.h"

#include "app/GameState.h"
#include "lighting/SceneState.h"

#include <GLFW/glfw3.h>
#include <cmath>

namespace velorun::scenario {
namespace {

using ScoreScenario = GameScenario;

TEST_F(ScoreScenario, ScoreIsMinus25MinusTheTruncatedCarZ)
{
    // The car starts at z -12.5; a 1/1024 s first frame moves it by ~0.01.
    game.frame(tinyStep);
    EXPECT_EQ(scoreText, "-13");

    const struct {
        float z;
        const char* score;
    } cases[] = {{-25.9f, "0"}, {-100.7f, "75"}, {-24.5f, "-1"}, {-40.2f, "15"}};
    for (const auto& c : cases) {
        placeCar({0.0f, 0.0f, c.z});
        game.frame(tinyStep);
        EXPECT_EQ(scoreText, c.score) << "car placed at z " << c.z;
    }
}

TEST_F(ScoreScenario, CarMovesAtItsSpeedAndTheCameraFollowsOneUpFiveBack)
{
    game.frame(tinyStep);
    ASSERT_FLOAT_EQ(car->speed, 10.5f);
    const glm::vec3 before = carPosition();
    game.frame(0.25);
    const glm::vec3 after = carPosition();
    EXPECT_NEAR(after.z, before.z - 10.5f * 0.25f, 1e-4);
    EXPECT_FLOAT_EQ(after.x, before.x);
    EXPECT_FLOAT_EQ(after.y, before.y);
    EXPECT_FLOAT_EQ(cameraPosition().x, after.x);
    EXPECT_FLOAT_EQ(cameraPosition().y, after.y + 1.0f);
    EXPECT_FLOAT_EQ(cameraPosition().z, after.z + 5.0f);
    // The score of that frame is computed from the moved car.
    EXPECT_EQ(scoreText, std::to_string(-25 - static_cast<int>(after.z)));
}

// One steering frame of 1/16 s: a free sideways step is 5.25 * 0.0625 =
// 0.328125 world units; a push-back is always 5.25 * 0.1 = 0.525.
struct SteerCase {
    const char* what;
    glm::vec2 start;
    std::vector<int> keys;
    glm::vec2 expected;
};

TEST_F(GameScenario, SteeringHonoursEachQuadrantsLimitAndPushesBackAgainstTheFirstKey)
{
    game.frame(tinyStep);
    const SteerCase cases[] = {
        {"right quadrant outside (limit 3.1), right arrow", {3.2f, 0.5f}, {GLFW_KEY_RIGHT}, {2.675f, 0.5f}},
        {"right quadrant inside, right arrow", {3.0f, 0.5f}, {GLFW_KEY_RIGHT}, {3.328125f, 0.5f}},
        {"left quadrant inside (limit 3.28), left arrow", {-3.2f, 0.5f}, {GLFW_KEY_LEFT}, {-3.528125f, 0.5f}},
        {"left quadrant outside, left arrow", {-3.3f, 0.5f}, {GLFW_KEY_LEFT}, {-2.775f, 0.5f}},
        {"below the axis inside (limit 3.5), down arrow", {0.0f, -3.4f}, {GLFW_KEY_DOWN}, {0.0f, -3.728125f}},
        {"below the axis outside, down arrow", {0.0f, -3.6f}, {GLFW_KEY_DOWN}, {0.0f, -3.075f}},
        {"straight above (x = 0, limit 3.0), up arrow", {0.0f, 3.05f}, {GLFW_KEY_UP}, {0.0f, 2.525f}},
        {"just right of straight above (limit 3.1), up arrow", {0.001f, 3.05f}, {GLFW_KEY_UP}, {0.001f, 3.378125f}},
        {"outside, right and left together", {3.2f, 0.5f}, {GLFW_KEY_RIGHT, GLFW_KEY_LEFT}, {2.346875f, 0.5f}},
        {"outside, up arrow alone pushes down", {3.2f, 0.5f}, {GLFW_KEY_UP}, {3.2f, -0.025f}},
        {"outside, up then right: right block pushes, up moves freely", {3.2f, 0.5f},
         {GLFW_KEY_UP, GLFW_KEY_RIGHT}, {2.675f, 0.828125f}},
        {"inside, no key", {1.0f, 1.0f}, {}, {1.0f, 1.0f}},
    };
    for (const SteerCase& c : cases) {
        placeCar({c.start.x, c.start.y, carPosition().z});
        for (int key : c.keys)
            game.hold(key);
        game.frame(0.0625);
        game.releaseAll();
        const glm::vec3 p = carPosition();
        EXPECT_NEAR(p.x, c.expected.x, 1e-4) << c.what;
        EXPECT_NEAR(p.y, c.expected.y, 1e-4) << c.what;
        ASSERT_FALSE(gameOver) << "no obstacle may be near the car here";
    }
}

TEST_F(GameScenario, HoldingAnArrowKeySteersUntilTheWallThenStaysWithinOnePushOfIt)
{
    game.frame(tinyStep);
    // Right arrow for 2 s of 1/8 s frames from (0, 0): y = 0 counts as below the
    // axis (limit 3.5). The car reaches the limit and then alternates between
    // stepping out and being pushed back.
    game.hold(GLFW_KEY_RIGHT);
    float maxX = 0.0f;
    for (int i = 0; i < 16; ++i) {
        game.frame(0.125);
        maxX = std::max(maxX, carPosition().x);
        // At most one step (0.1 s of steering, 0.525) beyond the limit.
        EXPECT_LE(carPosition().x, 3.5f + 0.525f + 1e-4f);
    }
    EXPECT_GT(maxX, 3.5f);
    EXPECT_GE(carPosition().x, 3.5f - 0.525f - 1e-4f);
    EXPECT_FLOAT_EQ(carPosition().y, 0.0f);
}

TEST_F(GameScenario, OnLongFramesAHeldArrowKeyStillCannotCarryTheCarThroughTheWall)
{
    // Half-second frames, as a slow software renderer may take: a full step
    // would be 2.6 units a frame and throw the car past the wall (radius 4),
    // where one push-back of 0.525 could never bring it back.
    game.frame(tinyStep);
    for (int key : {GLFW_KEY_RIGHT, GLFW_KEY_LEFT, GLFW_KEY_DOWN}) {
        game.releaseAll();
        game.hold(key);
        for (int i = 0; i < 12; ++i) {
            game.frame(0.5);
            const glm::vec3 p = carPosition();
            EXPECT_LE(std::sqrt(p.x * p.x + p.y * p.y), 3.5f + 0.525f + 1e-4f)
                << "frame " << i << " with key " << key;
        }
    }
    // Holding Up from below the axis ends against the top limits, still inside the tube.
    game.releaseAll();
    game.hold(GLFW_KEY_UP);
    for (int i = 0; i < 16; ++i) {
        game.frame(0.5);
        const glm::vec3 p = carPosition();
        EXPECT_LE(std::sqrt(p.x * p.x + p.y * p.y), 3.28f + 0.525f + 1e-4f) << "frame " << i;
    }
}

} // namespace
} // namespace velorun::scenario
