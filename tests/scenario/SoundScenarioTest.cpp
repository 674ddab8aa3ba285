// The game's sound, heard: OpenAL mixes into a WAV file instead of a sound
// card (its "wave" backend, chosen by a configuration file only this test
// names), and the test reads the mix back. The mixer runs on the wall clock,
// so the scripted frames advance the game by the wall time they take, and
// each stretch of the drive is analysed well inside its own stretch of the
// recording: neither the frame rate nor a loaded machine moves the evidence
// out of its window. OpenAL reads its configuration once per process, so
// this test needs a process of its own (tests/scenario/CMakeLists.txt).
#include "ScenarioFixture.h"

#include "audio/AudioState.h"
#include "lighting/SceneState.h"
#include "rules/GameRules.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <GLFW/glfw3.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef VELORUN_SCENARIO_OUTPUT_DIR
#define VELORUN_SCENARIO_OUTPUT_DIR "scenario-screenshots"
#endif

namespace velorun::scenario {
namespace {

using Clock = std::chrono::steady_clock;

// A stretch of the recording, in seconds since the device began to play.
struct Span {
    double from = 0.0;
    double to = 0.0;
    Span inner(double lead, double trail) const { return {from + lead, to - trail}; }
};

struct Recording {
    std::vector<float> samples;
    int rate = 0;

    double seconds() const { return rate > 0 ? static_cast<double>(samples.size()) / rate : 0.0; }
    size_t at(double t) const
    {
        return std::min(samples.size(), static_cast<size_t>(std::max(0.0, t) * rate));
    }
    double rms(Span s) const
    {
        double sum = 0.0;
        const size_t a = at(s.from), b = at(s.to);
        for (size_t i = a; i < b; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        return b > a ? std::sqrt(sum / static_cast<double>(b - a)) : 0.0;
    }
    // The loudest 50 ms within the span.
    double peakRms(Span s) const
    {
        double most = 0.0;
        for (double t = s.from; t + 0.05 <= s.to; t += 0.01)
            most = std::max(most, rms({t, t + 0.05}));
        return most;
    }
    // Sign changes per second: for one waveform played faster or slower, in
    // proportion to the pitch.
    double crossingsPerSecond(Span s) const
    {
        int crossings = 0;
        const size_t a = at(s.from), b = at(s.to);
        for (size_t i = a + 1; i < b; ++i)
            crossings += (samples[i - 1] < 0.0f) != (samples[i] < 0.0f);
        return crossings / (s.to - s.from);
    }
};

Recording readRecording(const std::string& path)
{
    Recording r;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return r;
    std::vector<float> frames(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    const sf_count_t read = sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    r.rate = info.samplerate;
    for (sf_count_t i = 0; i < read; ++i)
        r.samples.push_back(frames[static_cast<size_t>(i * info.channels)]);
    return r;
}

class SoundScenario : public ::testing::Test {
protected:
    ScenarioHarness game;
    std::string wavPath;
    Clock::time_point lastFrame;
    // The device opens as the last step of start-up; the mix starts there.
    Clock::time_point deviceStart;

    void SetUp() override
    {
        const std::filesystem::path dir = std::filesystem::absolute(VELORUN_SCENARIO_OUTPUT_DIR);
        std::filesystem::create_directories(dir);
        wavPath = (dir / "sound_mix.wav").string();
        std::filesystem::remove(wavPath);
        const std::string conf = (dir / "sound_mix.conf").string();
        std::ofstream(conf) << "drivers = wave\nchannels = mono\nsample-type = float32\nfrequency = 22050\n"
                               "[wave]\nfile = "
                            << wavPath << "\n";
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        game.start(800, 600);
        deviceStart = Clock::now();
        unsetenv("ALSOFT_CONF");
        lastFrame = deviceStart;
    }
    void TearDown() override { game.finish(); }

    double sinceDeviceStart() const
    {
        return std::chrono::duration<double>(Clock::now() - deviceStart).count();
    }

    // Frames that move the game on by the wall time they take, for `seconds`.
    Span runFor(double seconds)
    {
        const double from = sinceDeviceStart();
        while (sinceDeviceStart() < from + seconds) {
            const Clock::time_point now = Clock::now();
            const double dt = std::chrono::duration<double>(now - lastFrame).count();
            lastFrame = now;
            game.frame(std::clamp(dt, tinyStep, 0.5));
        }
        return {from, sinceDeviceStart()};
    }

    void stepFrame(double dt)
    {
        game.frame(dt);
        lastFrame = Clock::now();
    }
};

TEST_F(SoundScenario, EngineRisesWithSpeedCrashIsLoudFireworksBurstAndMIsSilence)
{
    ASSERT_NE(audio::soundSystem.context, nullptr) << "the wave backend did not open";
    stepFrame(tinyStep);
    placeCar({safeX, safeY, carPosition().z});

    const Span driving = runFor(1.6);
    ASSERT_EQ(car->speed, audio::engineBaseSpeed);
    stepFrame(speedUpInterval + 0.05); // one speed-up
    ASSERT_EQ(car->speed, nextSpeed(audio::engineBaseSpeed));
    const Span faster = runFor(1.6);

    // A fresh obstacle ahead; the car goes into its lane, just short of it.
    stepFrame(spawnInterval + 0.05);
    ASSERT_FALSE(run.cubes.empty());
    const glm::vec3 cube = scene::positionOf(run.cubes.back()->modelMatrix);
    placeCar({cube.x - 0.4f, cube.y - 0.4f, cube.z + 3.0f});
    for (int i = 0; i < 12 && !run.gameOver; ++i)
        stepFrame(0.0625);
    ASSERT_TRUE(run.gameOver);
    const double crashAt = sinceDeviceStart();
    const Span fireworks = runFor(3.0);

    ::testing::internal::CaptureStdout();
    game.hold(GLFW_KEY_M);
    stepFrame(tinyStep);
    game.release(GLFW_KEY_M);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Sound off\n");
    const Span muted = runFor(1.5);
    game.finish();

    const Recording mix = readRecording(wavPath);
    ASSERT_GT(mix.rate, 0) << wavPath << " unreadable";
    ASSERT_GE(mix.seconds(), muted.to - 0.1) << "the recording stops early";

    const double engine = mix.rms(driving.inner(0.3, 0.1));
    EXPECT_GT(engine, 0.03) << "no engine while driving";
    const double pitchRatio =
        mix.crossingsPerSecond(faster.inner(0.3, 0.1)) / mix.crossingsPerSecond(driving.inner(0.3, 0.1));
    EXPECT_GT(pitchRatio, 1.1) << "the engine did not rise with the speed-up";
    EXPECT_LT(pitchRatio, 1.3) << "the engine rose more than the speed";

    const double beforeCrash = mix.peakRms(faster.inner(0.3, 0.1));
    const double crash = mix.peakRms({crashAt - 0.25, crashAt + 0.5});
    EXPECT_GT(crash, 3.0 * beforeCrash) << "no loud transient at the crash";

    // Past the crash's own ring, only the bursts sound.
    EXPECT_GT(mix.rms(fireworks.inner(1.4, 0.1)), 0.01) << "no bursts while the fireworks run";

    EXPECT_LT(mix.peakRms(muted.inner(0.3, 0.1)), 1e-4) << "sound after M";
}

} // namespace
} // namespace velorun::scenario
