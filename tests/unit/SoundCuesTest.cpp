// The game's sound as values: the engine's pitch follows the car's speed, the
// crash sounds once in the frame that ends the game, and the fireworks burst
// on a schedule of game time, whatever the frame rate.
#include "audio/SoundCues.h"
#include "rules/GameRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace velorun::audio {
namespace {

TEST(EnginePitch, FollowsEverySpeedStepInProportion)
{
    float speed = engineBaseSpeed;
    EXPECT_FLOAT_EQ(enginePitch(speed), 1.0f);
    int steps = 0;
    while (speed < speedLimit) {
        const float next = nextSpeed(speed);
        EXPECT_NEAR(enginePitch(next) / enginePitch(speed), next / speed, 1e-5) << "at speed " << speed;
        speed = next;
        ++steps;
    }
    EXPECT_EQ(steps, 6);
    EXPECT_LT(enginePitch(speed), highestEnginePitch) << "the top speed still has its own pitch";
    EXPECT_FLOAT_EQ(enginePitch(0.0f), lowestEnginePitch);
}

// A frame-by-frame record of the cues over a run: `playing` seconds of game,
// then `over` seconds after the crash, in frames of `step` seconds.
struct SoundRun {
    std::vector<double> burstTimes; // game time since the crash
    int crashes = 0;
    bool engineAfterCrash = false;
    float lastPitch = 0.0f;
};

SoundRun play(double playing, double over, double step)
{
    SoundSchedule schedule;
    SoundRun run;
    double t = 0.0;
    for (; t < playing; t += step) {
        const SoundCues cues = nextCues(schedule, false, 12.6f, step);
        EXPECT_TRUE(cues.engineRunning);
        EXPECT_FALSE(cues.crash || cues.burst);
        run.lastPitch = cues.enginePitch;
    }
    for (double since = 0.0; since < over; since += step) {
        const SoundCues cues = nextCues(schedule, true, 12.6f, step);
        if (cues.crash) {
            ++run.crashes;
            EXPECT_EQ(since, 0.0) << "the crash sounds in the frame that ends the game";
        }
        run.engineAfterCrash = run.engineAfterCrash || cues.engineRunning;
        if (cues.burst)
            run.burstTimes.push_back(since);
    }
    return run;
}

class FireworkBursts : public ::testing::TestWithParam<double> {};

TEST_P(FireworkBursts, FollowGameTimeNotFrames)
{
    const double step = GetParam();
    const double over = 6.0;
    const SoundRun run = play(1.0, over, step);
    EXPECT_FLOAT_EQ(run.lastPitch, enginePitch(12.6f));
    EXPECT_EQ(run.crashes, 1);
    EXPECT_FALSE(run.engineAfterCrash) << "the engine stops at the crash";
    ASSERT_FALSE(run.burstTimes.empty());
    // Each burst comes within one frame of its schedule.
    for (size_t i = 0; i < run.burstTimes.size(); ++i) {
        const double due = firstBurstDelay + burstInterval * static_cast<double>(i);
        EXPECT_GE(run.burstTimes[i] + 1e-9, due) << "burst " << i;
        EXPECT_LT(run.burstTimes[i], due + step + 1e-9) << "burst " << i;
    }
    const auto expected =
        static_cast<size_t>(std::floor((over - step - firstBurstDelay) / burstInterval)) + 1;
    EXPECT_NEAR(static_cast<double>(run.burstTimes.size()), static_cast<double>(expected), 1.0);
}

INSTANTIATE_TEST_SUITE_P(FrameSteps, FireworkBursts, ::testing::Values(1.0 / 1024.0, 1.0 / 60.0, 0.1, 0.3));

TEST(FireworkBursts, ALongFrameFiresOneBurstAndDropsTheRest)
{
    SoundSchedule schedule;
    nextCues(schedule, true, 10.5f, 0.01); // the crash
    const SoundCues afterLongFrame = nextCues(schedule, true, 10.5f, 5.0);
    EXPECT_TRUE(afterLongFrame.burst);
    EXPECT_FALSE(nextCues(schedule, true, 10.5f, 0.01).burst) << "skipped bursts fired in a row";
    EXPECT_TRUE(nextCues(schedule, true, 10.5f, burstInterval).burst);
}

} // namespace
} // namespace velorun::audio
