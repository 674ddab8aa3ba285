// Score, forward motion and steering, played through the real frame loop.
#include "ScenarioFixture.h"

#include "lighting/SceneState.h"
#include "scene/RunState.h"

#include <GLFW/glfw3.h>
#include <cmath>

namespace velorun::scenario {
namespace {

using ScoreScenario = GameScenario;

TEST_F(ScoreScenario, ScoreIsMinus25MinusTheTruncatedCarZ)
{
    // The car starts at z -12.5; a 1/1024 s first frame moves it by ~0.01.
    game.frame(tinyStep);
    EXPECT_EQ(run.scoreText, "-13");

    const struct {
        float z;
        const char* score;
    } cases[] = {{-25.9f, "0"}, {-100.7f, "75"}, {-24.5f, "-1"}, {-40.2f, "15"}};
    for (const auto& c : cases) {
        placeCar({0.0f, 0.0f, c.z});
        game.frame(tinyStep);
        EXPECT_EQ(run.scoreText, c.score) << "car placed at z " << c.z;
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
    EXPECT_EQ(run.scoreText, std::to_string(-25 - static_cast<int>(after.z)));
}

// One steering frame of 1/16 s: a free sideways step is 5.25 * 0.0625 =
// 0.328125 world units; a push-back is always 5.25 * 0.1 = 0.525. A step that
// ends beyond the limit ends on it instead, straight towards the axis.
struct SteerCase {
    const char* what;
    glm::vec2 start;
    std::vector<int> keys;
    glm::vec2 expected;
};

// (x, y) moved straight towards the axis to `radius` from it.
glm::vec2 onLimit(float x, float y, float radius) { return glm::vec2(x, y) * (radius / std::hypot(x, y)); }

TEST_F(GameScenario, SteeringHonoursEachQuadrantsLimitAndPushesBackAgainstTheFirstKey)
{
    game.frame(tinyStep);
    const SteerCase cases[] = {
        {"right quadrant outside (limit 3.1), right arrow", {3.2f, 0.5f}, {GLFW_KEY_RIGHT}, {2.675f, 0.5f}},
        {"right quadrant inside, right arrow, ends on the limit",
         {3.0f, 0.5f},
         {GLFW_KEY_RIGHT},
         onLimit(3.328125f, 0.5f, 3.1f)},
        {"left quadrant inside (limit 3.28), left arrow",
         {-3.2f, 0.5f},
         {GLFW_KEY_LEFT},
         onLimit(-3.528125f, 0.5f, 3.28f)},
        {"left quadrant outside, left arrow", {-3.3f, 0.5f}, {GLFW_KEY_LEFT}, {-2.775f, 0.5f}},
        {"below the axis inside (limit 3.5), down arrow", {0.0f, -3.4f}, {GLFW_KEY_DOWN}, {0.0f, -3.5f}},
        {"below the axis outside, down arrow", {0.0f, -3.6f}, {GLFW_KEY_DOWN}, {0.0f, -3.075f}},
        {"straight above (x = 0, limit 3.0), up arrow", {0.0f, 3.05f}, {GLFW_KEY_UP}, {0.0f, 2.525f}},
        {"just right of straight above (limit 3.1), up arrow",
         {0.001f, 3.05f},
         {GLFW_KEY_UP},
         onLimit(0.001f, 3.378125f, 3.1f)},
        {"outside, right and left together",
         {3.2f, 0.5f},
         {GLFW_KEY_RIGHT, GLFW_KEY_LEFT},
         {2.346875f, 0.5f}},
        {"outside, up arrow alone pushes down", {3.2f, 0.5f}, {GLFW_KEY_UP}, {3.2f, -0.025f}},
        {"outside, up then right: right block pushes, up moves freely",
         {3.2f, 0.5f},
         {GLFW_KEY_UP, GLFW_KEY_RIGHT},
         {2.675f, 0.828125f}},
        {"inside, no key", {1.0f, 1.0f}, {}, {1.0f, 1.0f}},
        {"outside, no key: settles on the limit", {3.6f, 1.0f}, {}, onLimit(3.6f, 1.0f, 3.1f)},
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
        ASSERT_FALSE(run.gameOver) << "no obstacle may be near the car here";
    }
}

TEST_F(GameScenario, HoldingAnArrowKeySteersToTheWallAndGlidesAlongIt)
{
    game.frame(tinyStep);
    // Right arrow for 2 s of 1/8 s frames from (0, 0): y = 0 counts as below
    // the axis (limit 3.5). The car reaches the wall and stays on it.
    game.hold(GLFW_KEY_RIGHT);
    for (int i = 0; i < 16; ++i) {
        game.frame(0.125);
        EXPECT_LE(carPosition().x, 3.5f) << "frame " << i;
    }
    EXPECT_FLOAT_EQ(carPosition().x, 3.5f);
    EXPECT_FLOAT_EQ(carPosition().y, 0.0f);
    // Up as well: the car slides up the wall, into the upper right quadrant.
    game.hold(GLFW_KEY_UP);
    for (int i = 0; i < 8; ++i)
        game.frame(0.125);
    const glm::vec3 p = carPosition();
    EXPECT_GT(p.y, 1.0f);
    EXPECT_NEAR(std::hypot(p.x, p.y), 3.1f, 1e-4f);
}

} // namespace
} // namespace velorun::scenario
