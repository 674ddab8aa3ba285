// A recorded session fed back runs the very same game, pausing where the
// window lost the focus, without touching the watcher's display where the
// player went full screen; the same recording with one key press taken out
// is caught at the first state check after it.
#include "ScenarioHarness.h"

#include "game/Frame.h"
#include "game/FrameSeam.h"
#include "game/WindowEvents.h"
#include "input/PressQueue.h"
#include "lighting/SceneState.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayRecorder.h"
#include "replay/RunChecksum.h"
#include "scene/RunState.h"

#include <GLFW/glfw3.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>

namespace velorun::scenario {
namespace {

constexpr int sessionFrames = 40;
constexpr int pauseFrame = 12; // P goes down here, and again at frame 20
constexpr int fullScreenFrame = 3; // F11 here, and again at frame 5
constexpr int focusLostFrame = 24; // the focus goes before this frame; P at 27
constexpr std::uint16_t checkInterval = 8;

// A session of two-key steering, a pause and its end, through the scripted
// drive, recorded to `path`.
void recordSession(const std::string& path)
{
    ScenarioHarness game;
    game.start(smallWidth, smallHeight);
    ReplayRecorder recorder;
    recorder.start(path, ReplayHeader{"test", "test", LaunchSettings{}, checkInterval});
    seam.frameDone = [&recorder](const input::FrameInput& input) { recorder.record(input); };
    for (int frame = 1; frame <= sessionFrames; ++frame) {
        game.releaseAll();
        if (frame < 10) {
            game.hold(GLFW_KEY_UP);
            game.hold(GLFW_KEY_RIGHT);
        }
        if (frame == pauseFrame || frame == 20 || frame == 27)
            game.hold(GLFW_KEY_P);
        if (frame == fullScreenFrame || frame == fullScreenFrame + 2)
            game.hold(GLFW_KEY_F11);
        if (frame == focusLostFrame)
            windowFocusCallback(game.window(), GLFW_FALSE);
        // More presses in one frame than a recording keeps: a P after them
        // must not act, or the replay, which never sees it, would differ.
        if (frame == 30) {
            for (int i = 0; i < 40; ++i) // F2 an even number of times
                input::keyCallback(game.window(), GLFW_KEY_F2, 0, GLFW_PRESS, 0);
            input::keyCallback(game.window(), GLFW_KEY_P, 0, GLFW_PRESS, 0);
        }
        game.frame(0.05);
        if (frame == fullScreenFrame) {
            EXPECT_NE(glfwGetWindowMonitor(game.window()), nullptr) << "F11 did not go full screen";
        }
        if (frame == focusLostFrame) {
            EXPECT_TRUE(run.paused) << "the focus went and the run went on";
        }
    }
    EXPECT_EQ(glfwGetWindowMonitor(game.window()), nullptr) << "F11 again did not come back";
    recorder.finish();
}

// Plays the file at `path` back as fast as it goes, running `between` with
// the number of frames played after each frame (and `afterCheck` between the
// check of the file and the play); the replay's closing line.
std::string replayVerdict(const std::string& path, const std::function<void(std::size_t)>& between = nullptr,
                          const std::function<void()>& afterCheck = nullptr)
{
    ReplayCheck check = checkReplayFile(path);
    if (!check.summary)
        return check.error;
    if (afterCheck)
        afterCheck();
    ScenarioHarness game;
    game.start(smallWidth, smallHeight);
    ReplayPlayer player(path, std::move(*check.summary), ReplayPlayer::Pace::Unpaced);
    player.install(game.window());
    while (!player.finished() && runFrame(game.window())) {
        EXPECT_EQ(glfwGetWindowMonitor(game.window()), nullptr) << "the replay changed the display";
        if (between)
            between(player.framesPlayed());
    }
    player.checkEnd();
    return player.verdict();
}

Replay readBack(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ReplayReading reading = readReplay(bytes);
    EXPECT_TRUE(reading.replay) << reading.error;
    return reading.replay ? std::move(*reading.replay) : Replay{};
}

// Writes the first `frames` frames of `replay`, with its end when all of them.
void writeBack(const std::string& path, const Replay& replay, std::size_t frames)
{
    std::string bytes;
    writeReplayHeader(bytes, replay.header);
    RecordedSize size{replay.header.window.width, replay.header.window.height};
    for (std::size_t i = 0; i < frames; ++i)
        writeReplayFrame(bytes, replay.frames[i], size);
    if (frames == replay.frames.size())
        writeReplayEnd(bytes, static_cast<std::uint32_t>(frames), replay.finalCheck);
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string recordedSession(const char* name)
{
    std::filesystem::create_directories(VELORUN_SCENARIO_OUTPUT_DIR);
    const std::string path = std::string(VELORUN_SCENARIO_OUTPUT_DIR "/") + name;
    recordSession(path);
    return path;
}

TEST(ReplayScenario, ReplaysExactlyAndNamesWhereAnEditedPressLeftTheRecording)
{
    const std::string path = recordedSession("session.vrr");
    Replay replay = readBack(path);
    ASSERT_EQ(replay.frames.size(), std::size_t{sessionFrames});
    EXPECT_TRUE(replay.frames[fullScreenFrame - 1].input.pressed(GLFW_KEY_F11));
    EXPECT_TRUE(replay.frames[focusLostFrame - 1].input.pressed(input::focusLostKey));
    EXPECT_EQ(replayVerdict(path), "40 frames played; every state check matched");

    // What a game killed after its 29th frame leaves: it plays to there.
    writeBack(path, replay, 29);
    const std::string killed = "the recording stops at frame 29 without its end (the game crashed or was "
                               "killed there); every state check up to it matched";
    EXPECT_EQ(replayVerdict(path), killed);
    // Written on, or cut, between the check and the play: what was played is
    // what is reported.
    EXPECT_EQ(replayVerdict(path, nullptr, [&] { writeBack(path, replay, replay.frames.size()); }),
              "40 frames played; every state check matched; the file changed after it was checked, when it "
              "held 29 frames without an end");
    EXPECT_EQ(replayVerdict(path, nullptr, [&] { writeBack(path, replay, 29); }),
              killed + "; the file changed after it was checked, when it held 40 frames and its end");

    // The file edited: the first P press taken out, so the game never pauses
    // there and the second P pauses it instead.
    std::vector<int>& presses = replay.frames[pauseFrame - 1].input.presses;
    ASSERT_EQ(presses, std::vector<int>{GLFW_KEY_P});
    presses.clear();
    writeBack(path, replay, replay.frames.size());
    EXPECT_EQ(replayVerdict(path), "the state differs from the recording at frame 16 (it still "
                                   "matched at frame 8); 40 of 40 frames played");
}

// What the next frames follow from is checked too: a draw taken, or the spawn
// timer nudged, between two frames is named at the next check, long before
// the next obstacle would show it.
TEST(ReplayScenario, ADrawOrATimerNudgedBetweenFramesIsNamedAtTheNextCheck)
{
    const std::string path = recordedSession("disturbed.vrr");
    const std::string atTheNextCheck = "the state differs from the recording at frame 8 (it still matched at "
                                       "frame 0); 40 of 40 frames played";
    EXPECT_EQ(replayVerdict(path,
                            [](std::size_t played) {
                                if (played == 2)
                                    session.gameRandom.draw();
                            }),
              atTheNextCheck);
    EXPECT_EQ(replayVerdict(path,
                            [](std::size_t played) {
                                if (played == 2)
                                    run.spawnTimer += 0.001;
                            }),
              atTheNextCheck);
}

// Each part of the run's state changes its check: left out of it, a
// divergence there would go unnamed.
TEST(ReplayScenario, EveryPartOfTheRunsStateIsInItsCheck)
{
    ScenarioHarness game;
    game.start(smallWidth, smallHeight);
    game.frames(4, 0.3);
    ASSERT_FALSE(run.cubes.empty());
    session.bestScore = -1;
    auto nudge = [](float& value) {
        return std::pair<std::function<void()>, std::function<void()>>{[&value] { value += 0.25f; },
                                                                       [&value] { value -= 0.25f; }};
    };
    const GameRandom drawsBefore = session.gameRandom;
    const struct Part {
        const char* name;
        std::pair<std::function<void()>, std::function<void()>> changeAndUndo;
    } parts[] = {
        {"car x", nudge(car->modelMatrix[3][0])},
        {"car y", nudge(car->modelMatrix[3][1])},
        {"car z", nudge(car->modelMatrix[3][2])},
        {"speed", nudge(car->speed)},
        {"obstacle x", nudge(run.cubes[0]->modelMatrix[3][0])},
        {"obstacle y", nudge(run.cubes[0]->modelMatrix[3][1])},
        {"obstacle z", nudge(run.cubes[0]->modelMatrix[3][2])},
        {"obstacles",
         {[] { run.cubes.push_back(scene::makeCube(glm::mat4(1.0f), cubeShader.get())); },
          [] { run.cubes.pop_back(); }}},
        {"game over", {[] { run.gameOver = !run.gameOver; }, [] { run.gameOver = !run.gameOver; }}},
        {"pause", {[] { run.paused = !run.paused; }, [] { run.paused = !run.paused; }}},
        {"best score", {[] { session.bestScore = 7; }, [] { session.bestScore = -1; }}},
        {"a best score at all", {[] { session.bestScore.reset(); }, [] { session.bestScore = -1; }}},
        {"spawn timer", {[] { run.spawnTimer += 0.25; }, [] { run.spawnTimer -= 0.25; }}},
        {"speed-up timer", {[] { run.speedUpTimer += 0.25; }, [] { run.speedUpTimer -= 0.25; }}},
        {"generator",
         {[] { session.gameRandom.draw(); }, [drawsBefore] { session.gameRandom = drawsBefore; }}},
    };
    const std::uint32_t unchanged = runChecksum();
    for (const Part& part : parts) {
        part.changeAndUndo.first();
        EXPECT_NE(runChecksum(), unchanged) << part.name << " is not in the check";
        part.changeAndUndo.second();
        ASSERT_EQ(runChecksum(), unchanged) << part.name << " was not put back";
    }
}

} // namespace
} // namespace velorun::scenario
