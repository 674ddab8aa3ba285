// The game's rules: tube limits, hits, score, frame-time text, spawning,
// speed-ups and tube recycling.
#include "rules/GameRules.h"
#include "base/GameRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <vector>

namespace velorun {
namespace {

// --- staying inside the tube -------------------------------------------------

struct TubeCase {
    float x;
    float y;
    bool inside;
};

std::ostream& operator<<(std::ostream& os, const TubeCase& c)
{
    return os << "(" << c.x << ", " << c.y << ") inside=" << c.inside;
}

class InsideTube : public ::testing::TestWithParam<TubeCase> {};

TEST_P(InsideTube, QuadrantLimits)
{
    EXPECT_EQ(insideTube(GetParam().x, GetParam().y), GetParam().inside)
        << "car at (" << GetParam().x << ", " << GetParam().y << ")";
}

INSTANTIATE_TEST_SUITE_P(
    GameRules, InsideTube,
    ::testing::Values(TubeCase{3.2f, 0.5f, false}, // right of the axis: limit 3.1
                      TubeCase{-3.2f, 0.5f, true}, // left of the axis: limit 3.28
                      TubeCase{0.0f, -3.4f, true}, // below: limit 3.5
                      TubeCase{0.0f, 3.05f, false}, // straight above: limit 3.0
                      TubeCase{0.001f, 3.05f, true}, // a hair to the right: limit 3.1
                      TubeCase{-0.001f, 3.05f, true}, TubeCase{0.0f, 0.0f, true}, // the start position
                      TubeCase{2.675f, 0.5f, true}, // after the push back from (3.2, 0.5)
                      TubeCase{-3.3f, 0.5f, false}, TubeCase{0.0f, -3.6f, false},
                      TubeCase{3.2f, 0.0f, true}, // y = 0 counts as below: limit 3.5
                      TubeCase{3.2f, 0.001f, false}, // just above: limit 3.1
                      TubeCase{-3.4f, -0.5f, true},
                      TubeCase{2.5f, -2.5f, false}, // d ~ 3.5355, beyond the lower limit
                      TubeCase{0.0f, 3.0f, true}, // exactly on the 3.0 limit
                      TubeCase{0.0f, -3.5f, true}, // exactly on the 3.5 limit
                      TubeCase{3.5f, 0.0f, true}, TubeCase{-3.5f, 0.0f, true}));

TEST(GameRules, JustAboveTheStraightUpLimitIsOutside)
{
    EXPECT_TRUE(insideTube(0.0f, 3.0f));
    EXPECT_FALSE(insideTube(0.0f, std::nextafter(3.0f, 4.0f)));
}

TEST(GameRules, JustBelowTheLowerLimitIsOutside)
{
    EXPECT_TRUE(insideTube(0.0f, -3.5f));
    EXPECT_FALSE(insideTube(0.0f, std::nextafter(-3.5f, -4.0f)));
}

TEST(GameRules, TheRightLimitIsTighterThanTheLeft)
{
    // 3.2 from the axis: beyond 3.1 but within 3.28.
    const float x = 3.2f * std::cos(0.3f);
    const float y = 3.2f * std::sin(0.3f);
    EXPECT_FALSE(insideTube(x, y));
    EXPECT_TRUE(insideTube(-x, y));
    EXPECT_TRUE(insideTube(x, -y));
    EXPECT_TRUE(insideTube(-x, -y));
}

TEST(GameRules, ACarBeyondItsLimitSettlesOntoItInItsOwnQuadrant)
{
    const struct {
        glm::vec2 at;
        float limit;
    } cases[] = {
        {{4.0f, 0.5f}, 3.1f},  {{-4.0f, 0.5f}, 3.28f},  {{0.0f, 9.0f}, 3.0f},
        {{0.0f, -4.2f}, 3.5f}, {{6.0f, 0.0f}, 3.5f},    {{-2.9f, -2.9f}, 3.5f},
        {{0.01f, 3.2f}, 3.1f}, {{-0.01f, 3.3f}, 3.28f}, {{1e6f, 1e6f}, 3.1f},
    };
    for (const auto& c : cases) {
        const glm::vec2 settled = settleInsideTube(c.at);
        EXPECT_TRUE(insideTube(settled.x, settled.y)) << c.at.x << ", " << c.at.y;
        EXPECT_NEAR(glm::length(settled), c.limit, 1e-4f) << c.at.x << ", " << c.at.y;
        // Straight towards the axis: the direction is kept.
        EXPECT_NEAR(settled.x * c.at.y - settled.y * c.at.x, 0.0f, 1e-3f * glm::length(c.at));
    }
    // Within the limit nothing moves, however close to it.
    for (glm::vec2 inside : {glm::vec2(0.0f, 3.0f), glm::vec2(3.5f, 0.0f), glm::vec2(-1.0f, 2.0f)})
        EXPECT_EQ(settleInsideTube(inside), inside);
}

// --- obstacle hits -----------------------------------------------------------

const glm::vec3 carStart(0.0f, 0.0f, -12.5f);

glm::vec3 offset(float dx, float dy, float dz) { return carStart + glm::vec3(dx, dy, dz); }

TEST(GameRules, CubeToTheRightByPointEightHits) { EXPECT_TRUE(hitsCar(offset(0.8f, 0.3f, 0.3f), carStart)); }

TEST(GameRules, CubeToTheLeftByPointEightMisses)
{
    EXPECT_FALSE(hitsCar(offset(-0.8f, 0.3f, 0.3f), carStart));
}

TEST(GameRules, CubeToTheLeftByPointFiveHits) { EXPECT_TRUE(hitsCar(offset(-0.5f, 0.3f, 0.3f), carStart)); }

TEST(GameRules, CarIsWiderOnTheRightThanOnTheLeft)
{
    EXPECT_TRUE(hitsCar(offset(0.99f, 0.2f, 0.2f), carStart));
    EXPECT_FALSE(hitsCar(offset(1.01f, 0.2f, 0.2f), carStart));
    EXPECT_TRUE(hitsCar(offset(-0.59f, 0.2f, 0.2f), carStart));
    EXPECT_FALSE(hitsCar(offset(-0.61f, 0.2f, 0.2f), carStart));
}

TEST(GameRules, VerticalAndDepthOverlapReachOneUnitEitherWay)
{
    for (float d : {0.99f, -0.99f, 0.5f, -0.5f, 0.01f, -0.01f}) {
        SCOPED_TRACE(d);
        EXPECT_TRUE(hitsCar(offset(0.2f, d, 0.2f), carStart));
        EXPECT_TRUE(hitsCar(offset(0.2f, 0.2f, d), carStart));
    }
    for (float d : {1.01f, -1.01f, 3.0f, -3.0f}) {
        SCOPED_TRACE(d);
        EXPECT_FALSE(hitsCar(offset(0.2f, d, 0.2f), carStart));
        EXPECT_FALSE(hitsCar(offset(0.2f, 0.2f, d), carStart));
    }
}

TEST(GameRules, EqualCoordinateOnAnyAxisIsNoHit)
{
    EXPECT_FALSE(hitsCar(offset(0.0f, 0.2f, 0.2f), carStart));
    EXPECT_FALSE(hitsCar(offset(0.2f, 0.0f, 0.2f), carStart));
    EXPECT_FALSE(hitsCar(offset(0.2f, 0.2f, 0.0f), carStart));
    EXPECT_FALSE(hitsCar(carStart, carStart));
}

TEST(GameRules, HitNeedsOverlapOnAllThreeAxes)
{
    EXPECT_TRUE(hitsCar(offset(0.3f, -0.4f, 0.6f), carStart));
    EXPECT_FALSE(hitsCar(offset(2.0f, -0.4f, 0.6f), carStart));
    EXPECT_FALSE(hitsCar(offset(0.3f, -2.0f, 0.6f), carStart));
    EXPECT_FALSE(hitsCar(offset(0.3f, -0.4f, 2.0f), carStart));
}

TEST(GameRules, HitDependsOnlyOnTheOffset)
{
    const glm::vec3 car(1.5f, -1.0f, -240.0f);
    EXPECT_TRUE(hitsCar(car + glm::vec3(0.8f, 0.5f, -0.5f), car));
    EXPECT_FALSE(hitsCar(car + glm::vec3(-0.8f, 0.5f, -0.5f), car));
    EXPECT_TRUE(hitsCar(car + glm::vec3(-0.5f, 0.5f, -0.5f), car));
}

// --- hits along the car's move -----------------------------------------------

// The cube's offset from the car's start and the car's move from there; the
// first touch as a fraction of the move, or none.
struct SweepCase {
    const char* what;
    glm::vec3 cube;
    glm::vec3 move;
    std::optional<double> first;
};

std::ostream& operator<<(std::ostream& os, const SweepCase& c) { return os << c.what; }

class HitsCarAlong : public ::testing::TestWithParam<SweepCase> {};

TEST_P(HitsCarAlong, FirstTouchOnTheWay)
{
    const SweepCase& c = GetParam();
    const std::optional<double> t = hitsCarAlong(carStart + c.cube, carStart, carStart + c.move);
    ASSERT_EQ(t.has_value(), c.first.has_value());
    if (t) {
        EXPECT_NEAR(*t, *c.first, 1e-5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    GameRules, HitsCarAlong,
    ::testing::Values(
        // Moves shorter than the windows.
        SweepCase{"short, ends overlapping", {0.3f, 0.3f, -1.5f}, {0.0f, 0.0f, -0.8f}, 0.5 / 0.8},
        SweepCase{"short, ends short of it", {0.3f, 0.3f, -1.5f}, {0.0f, 0.0f, -0.4f}, std::nullopt},
        SweepCase{"overlapping at the start", {0.3f, 0.3f, -0.5f}, {0.0f, 0.0f, -0.4f}, 0.0},
        SweepCase{"only the very end overlaps", {1.25f, 0.3f, 0.3f}, {0.26f, 0.0f, 0.0f}, 0.25 / 0.26},
        SweepCase{"past a corner, both ends miss", {0.5f, 0.3f, -1.3f}, {1.5f, 0.0f, -1.5f}, 0.2},
        SweepCase{"level on z, moving on z", {0.3f, 0.3f, 0.0f}, {0.0f, 0.0f, -1.5f}, 0.0},
        SweepCase{"level on x, not moving on x", {0.0f, 0.3f, -1.5f}, {0.0f, 0.0f, -0.8f}, std::nullopt},
        // Moves longer than the windows: through the cube, not over it.
        SweepCase{"through it", {0.3f, 0.3f, -1.05f}, {0.0f, 0.0f, -2.1f}, 0.05 / 2.1},
        SweepCase{"0.8 right: inside the x clause", {0.8f, 0.3f, -3.0f}, {0.0f, 0.0f, -6.27f}, 2.0 / 6.27},
        SweepCase{
            "0.8 left: beyond the narrower side", {-0.8f, 0.3f, -3.0f}, {0.0f, 0.0f, -6.27f}, std::nullopt},
        SweepCase{"sideways into its left side", {-2.0f, 0.3f, 0.3f}, {-3.0f, 0.0f, 0.0f}, 1.4 / 3.0}));

// --- score and frame time ----------------------------------------------------

struct ScoreCase {
    float carZ;
    const char* text;
};

std::ostream& operator<<(std::ostream& os, const ScoreCase& c)
{
    return os << "z " << c.carZ << " -> " << c.text;
}

class Score : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(Score, IsMinus25MinusTheTruncatedZ) { EXPECT_EQ(scoreFor(GetParam().carZ), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(GameRules, Score,
                         ::testing::Values(ScoreCase{-12.5f, "-13"}, ScoreCase{-25.9f, "0"},
                                           ScoreCase{-100.7f, "75"}, ScoreCase{-25.0f, "0"},
                                           ScoreCase{-26.0f, "1"}, ScoreCase{-0.9f, "-25"},
                                           ScoreCase{0.9f, "-25"}, ScoreCase{3.5f, "-28"},
                                           ScoreCase{-1025.99f, "1000"}));

struct FrameTimeCase {
    double seconds;
    const char* text;
};

std::ostream& operator<<(std::ostream& os, const FrameTimeCase& c) { return os << c.text; }

class FrameTime : public ::testing::TestWithParam<FrameTimeCase> {};

TEST_P(FrameTime, SixSignificantDigits) { EXPECT_EQ(formatFrameTime(GetParam().seconds), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(GameRules, FrameTime,
                         ::testing::Values(FrameTimeCase{1.0 / 60.0, "0.0166667"},
                                           FrameTimeCase{5e-05, "5e-05"}, FrameTimeCase{0.5, "0.5"},
                                           FrameTimeCase{1234567.0, "1.23457e+06"},
                                           FrameTimeCase{0.0001, "0.0001"}, FrameTimeCase{123456.0, "123456"},
                                           FrameTimeCase{1.0, "1"}, FrameTimeCase{0.0, "0"}));

// --- spawning ----------------------------------------------------------------

#ifdef __GLIBC__
// The game's draws are those glibc's rand() % 32768 gives a program that never
// seeds it, and stay so while the rest of the process draws from rand() too.
TEST(GameRules, DrawsAreGlibcsRandFromItsFirstStateWhateverElseDrawsFromIt)
{
    constexpr int draws = 100000;
    std::srand(1);
    std::vector<int> expected;
    for (int i = 0; i < draws; ++i)
        expected.push_back(std::rand() % 32768);
    GameRandom random;
    for (int i = 0; i < draws; ++i) {
        std::rand(); // a library drawing in between
        ASSERT_EQ(random.draw(), expected[static_cast<size_t>(i)]) << "draw " << i;
    }
}
#endif

TEST(GameRules, SpawnTakesYFromTheFirstDrawAndXFromTheSecond)
{
    const glm::vec3 p = spawnPosition(32767, 0, 8.0f);
    EXPECT_FLOAT_EQ(p.y, 2.0f);
    EXPECT_FLOAT_EQ(p.x, 0.0f);
    EXPECT_FLOAT_EQ(p.z, -42.0f);

    const glm::vec3 q = spawnPosition(0, 32767, -7.5f);
    EXPECT_FLOAT_EQ(q.y, 0.0f);
    EXPECT_FLOAT_EQ(q.x, 2.0f);
    EXPECT_FLOAT_EQ(q.z, -57.5f);
}

TEST(GameRules, SpawnScalesDrawsOnto0To2)
{
    const glm::vec3 p = spawnPosition(16383, 8191, 0.0f);
    EXPECT_FLOAT_EQ(p.y, 2.0f * 16383.0f / 32767.0f);
    EXPECT_FLOAT_EQ(p.x, 2.0f * 8191.0f / 32767.0f);
}

TEST(GameRules, ObstaclesAppearFiftyAheadOfTheCamera)
{
    // Camera 5 behind the car at its start, so 45 ahead of the car.
    const float cameraZ = -12.5f + 5.0f;
    EXPECT_FLOAT_EQ(spawnPosition(100, 200, cameraZ).z, -57.5f);
    EXPECT_FLOAT_EQ(spawnPosition(100, 200, -1000.0f).z, -1050.0f);
}

TEST(GameRules, SpawnedObstaclesStayInTheUpperRightQuadrant)
{
    GameRandom random;
    for (int i = 0; i < 500; ++i) {
        const int r1 = random.draw();
        const int r2 = random.draw();
        const glm::vec3 p = spawnPosition(r1, r2, 0.0f);
        ASSERT_GE(p.x, 0.0f);
        ASSERT_LE(p.x, 2.0f);
        ASSERT_GE(p.y, 0.0f);
        ASSERT_LE(p.y, 2.0f);
    }
}

// --- speed-up ----------------------------------------------------------------

TEST(GameRules, SpeedSequenceFromTheStartSpeed)
{
    const float expected[] = {12.6f, 15.12f, 18.144f, 21.7728f, 26.12736f, 31.352833f};
    float speed = 10.5f;
    for (float next : expected) {
        speed = nextSpeed(speed);
        EXPECT_FLOAT_EQ(speed, next);
    }
}

TEST(GameRules, SpeedUpsStopOnceTheLimitIsReached)
{
    float speed = 10.5f;
    int speedUps = 0;
    while (speed < speedLimit && speedUps < 100) {
        speed = nextSpeed(speed);
        ++speedUps;
    }
    EXPECT_EQ(speedUps, 6);
    EXPECT_FLOAT_EQ(speed, 31.352833f);
    EXPECT_FLOAT_EQ(speedLimit, 30.0f);
}

TEST(GameRules, SpeedIsMultipliedInDoubleAndStoredAsFloat)
{
    const float speed = 26.12736f;
    EXPECT_EQ(nextSpeed(speed), static_cast<float>(static_cast<double>(speed) * 1.2));
}

TEST(GameRules, SpeedUpBringsALateSpawnCloser)
{
    EXPECT_DOUBLE_EQ(spawnTimerAfterSpeedUp(0.5), 0.3);
    EXPECT_DOUBLE_EQ(spawnTimerAfterSpeedUp(0.9), 0.7);
    EXPECT_DOUBLE_EQ(spawnTimerAfterSpeedUp(0.41), 0.21);
}

TEST(GameRules, SpeedUpLeavesAnEarlySpawnTimerAlone)
{
    EXPECT_EQ(spawnTimerAfterSpeedUp(0.4), 0.4);
    EXPECT_EQ(spawnTimerAfterSpeedUp(0.3), 0.3);
    EXPECT_EQ(spawnTimerAfterSpeedUp(0.0), 0.0);
}

// --- tube recycling ----------------------------------------------------------

TEST(GameRules, SegmentMoreThan150BehindTheCameraIsRecycled)
{
    EXPECT_TRUE(needsRecycling(300.0f, 3.0f)); // tubeB at start
    EXPECT_TRUE(needsRecycling(0.0f, -150.5f));
    EXPECT_TRUE(needsRecycling(-100.0f, -251.0f));
}

TEST(GameRules, SegmentWithin150OfTheCameraStays)
{
    EXPECT_FALSE(needsRecycling(0.0f, 3.0f)); // tubeA at start
    EXPECT_FALSE(needsRecycling(0.0f, -150.0f)); // exactly 150: not more
    EXPECT_FALSE(needsRecycling(-100.0f, -249.0f));
    EXPECT_FALSE(needsRecycling(-500.0f, 3.0f)); // far ahead
}

} // namespace
} // namespace velorun
