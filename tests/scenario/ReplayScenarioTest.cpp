// A recorded session fed back runs the very same game, pausing where the
// window lost the focus, without touching the watcher's display where the
// player went full screen; the same recording with one key press taken out
// is caught at the first state check after it.
#include "ScenarioHarness.h"

#include "app/FrameSeam.h"
#include "app/Game.h"
#include "app/KeyCallback.h"
#include "app/ReplayPlayer.h"
#include "app/ReplayRecorder.h"
#include "app/WindowEvents.h"
#include "scene/RunState.h"

#include <GLFW/glfw3.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

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
    game.start();
    ReplayRecorder recorder;
    recorder.start(path, ReplayHeader{"test", "test", LaunchSettings{}, checkInterval});
    frameSeam().frameDone = [&recorder](const input::FrameInput& input) { recorder.record(input); };
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
                keyCallback(game.window(), GLFW_KEY_F2, 0, GLFW_PRESS, 0);
            keyCallback(game.window(), GLFW_KEY_P, 0, GLFW_PRESS, 0);
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

// Plays `replay` back as fast as it goes; the replay's closing line.
std::string replayVerdict(Replay replay)
{
    ScenarioHarness game;
    game.start();
    ReplayPlayer player(std::move(replay), ReplayPlayer::Pace::Unpaced);
    player.install(game.window());
    while (!player.finished() && runFrame(game.window())) {
        EXPECT_EQ(glfwGetWindowMonitor(game.window()), nullptr) << "the replay changed the display";
    }
    player.checkEnd();
    return player.verdict();
}

TEST(ReplayScenario, ReplaysExactlyAndNamesWhereAnEditedPressLeftTheRecording)
{
    std::filesystem::create_directories(VELORUN_SCENARIO_OUTPUT_DIR);
    const std::string path = VELORUN_SCENARIO_OUTPUT_DIR "/session.vrr";
    recordSession(path);
    ReplayReading reading = readReplayFile(path);
    ASSERT_TRUE(reading.replay) << reading.error;
    EXPECT_TRUE(reading.replay->frames[fullScreenFrame - 1].input.pressed(GLFW_KEY_F11));
    EXPECT_TRUE(reading.replay->frames[focusLostFrame - 1].input.pressed(input::focusLostKey));
    EXPECT_EQ(replayVerdict(*reading.replay), "40 frames played; every state check matched");

    // The file edited: the first P press taken out, so the game never pauses
    // there and the second P pauses it instead.
    Replay& edited = *reading.replay;
    std::vector<int>& presses = edited.frames[pauseFrame - 1].input.presses;
    ASSERT_EQ(presses, std::vector<int>{GLFW_KEY_P});
    presses.clear();
    std::string bytes;
    writeReplayHeader(bytes, edited.header);
    for (const ReplayFrame& frame : edited.frames)
        writeReplayFrame(bytes, frame);
    writeReplayEnd(bytes, static_cast<std::uint32_t>(edited.frames.size()), edited.finalCheck);
    std::ofstream(path, std::ios::binary) << bytes;
    reading = readReplayFile(path);
    ASSERT_TRUE(reading.replay) << reading.error;
    EXPECT_EQ(replayVerdict(*reading.replay), "the state differs from the recording at frame 16 (it still "
                                              "matched at frame 8); 40 of 40 frames played");
}

} // namespace
} // namespace velorun::scenario
