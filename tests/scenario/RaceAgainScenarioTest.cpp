// Racing again after GAME OVER and pausing a run, through the frame seam: a new
// run starts exactly where a fresh start does and makes nothing twice; a
// pause stops game time.
#define GLM_ENABLE_EXPERIMENTAL
#include "ScenarioFixture.h"

#include "audio/AudioState.h"
#include "base/BaseState.h"
#include "game/FrameSeam.h"
#include "game/Toggles.h"
#include "game/WindowEvents.h"
#include "input/GamepadMapping.h"
#include "input/PressQueue.h"
#include "lighting/SceneState.h"
#include "particles/ParticleSystem.h"
#include "rules/GameRules.h"
#include "scene/RunState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <fstream>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtx/string_cast.hpp>
#include <malloc.h>
#include <map>
#include <numeric>
#include <unistd.h>

namespace velorun::scenario {
namespace {

// Everything a run changes, field by field, as text.
std::map<std::string, std::string> runFields()
{
    std::map<std::string, std::string> f = {
        {"cubes", std::to_string(run.cubes.size())},
        {"flags",
         std::to_string(run.gameOver) + std::to_string(run.fireworksPending) + std::to_string(run.paused)},
        {"scoreText", run.scoreText},
        {"timers", std::to_string(run.deltaTime) + " " + std::to_string(run.spawnTimer) + " " +
                       std::to_string(run.speedUpTimer)},
        {"car", glm::to_string(car->modelMatrix) + " speed " + std::to_string(car->speed)},
        {"camera", glm::to_string(camera->position)},
        {"tubes", glm::to_string(tubeA->modelMatrix) + glm::to_string(tubeB->modelMatrix)},
        {"spot", glm::to_string(spotLightCube->modelMatrix)},
        {"particles", std::to_string(particleSystem.isFirst) + std::to_string(particleSystem.currVB) +
                          std::to_string(particleSystem.currTFB) + " " + std::to_string(particleSystem.time)},
        {"sound",
         std::to_string(audio::soundSchedule.crashed) + std::to_string(audio::soundSchedule.bursts)}};
    for (int k = 1; k <= pointLightCount; ++k)
        f["light" + std::to_string(k)] = glm::to_string(pointLightCube(k)->modelMatrix);
    return f;
}

// Live GL objects of each kind the game makes, found by asking the driver
// about every name up to a bound far above any a run reaches.
std::vector<int> liveGlObjects()
{
    std::vector<int> counts;
    for (auto isObject : {glIsBuffer, glIsTexture, glIsVertexArray, glIsFramebuffer, glIsProgram, glIsShader,
                          glIsTransformFeedback}) {
        int n = 0;
        for (GLuint name = 1; name < (1u << 15); ++name)
            n += isObject(name) ? 1 : 0;
        counts.push_back(n);
    }
    return counts;
}

long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

long heapInUse() { return static_cast<long>(mallinfo2().uordblks); }

class RunCommandScenario : public PictureScenario {
protected:
    // An obstacle just ahead of the car, overlapping it: this frame hits.
    void crash()
    {
        const glm::vec3 c = carPosition() + glm::vec3(0.3f, 0.3f, -0.5f);
        run.cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), c), cubeShader.get()));
        game.frame(frameStep);
        ASSERT_TRUE(run.gameOver);
    }

    // A frame with `key` down and one without it.
    void press(int key)
    {
        game.hold(key);
        game.frame(frameStep);
        game.release(key);
        game.frame(frameStep);
    }
};

TEST_F(RunCommandScenario, RaceAgainStartsWhereAFreshStartDoesAndKeepsTheBestAndTheSettings)
{
    game.frame(frameStep);
    const auto fresh = runFields();

    // A run that changes all a run can: obstacles, speed, recycled tube and
    // lights; a display setting switched on the way.
    placeCar({safeX, safeY, -400.0f});
    run.speedUpTimer = speedUpInterval;
    game.frames(12, 0.25);
    input::keyCallback(game.window(), GLFW_KEY_F6, 0, GLFW_PRESS, 0);
    crash();
    const int score = scoreValue(carPosition().z);
    game.frame(frameStep);
    const ShaderProgram* fireworks = particleSystem.updateProgram;
    // White pixels of "BEST" under the banner (text space 50..210, 115..160).
    auto bestLine = [this] {
        return countPixels(game.captureFrame(), 50, 115, 210, 160, [](const unsigned char* p) {
            return near(p, Rgb{255, 255, 255}, 8);
        });
    };
    EXPECT_LT(bestLine(), 200) << "a best score on the first GAME OVER: it would only repeat the score";

    // Start races again; held on into the new run, it must not pause it.
    game.hold(input::startButtonKey);
    game.frame(frameStep);
    game.frame(frameStep);
    EXPECT_EQ(runFields(), fresh);
    EXPECT_EQ(session.bestScore, score);
    EXPECT_FALSE(settings.lensFlaresEnabled) << "the player's settings stay";

    crash();
    game.frame(frameStep);
    EXPECT_GT(bestLine(), 800) << "no best score on the GAME OVER after a race again";
    EXPECT_EQ(particleSystem.updateProgram, fireworks) << "the fireworks' programs were made again";
    EXPECT_EQ(session.bestScore, score) << "a lower score replaced the best";

    // A later run that scores more raises the best; P pressed in the frame
    // of its hit has no run left to pause.
    press(GLFW_KEY_R);
    placeCar({safeX, safeY, -800.0f});
    game.hold(GLFW_KEY_P);
    crash();
    EXPECT_EQ(session.bestScore, scoreValue(carPosition().z)) << "a higher score left the best where it was";
    EXPECT_FALSE(run.paused) << "P paused a run its own frame had ended";

    // Escape down in the frame that races again still ends the loop.
    game.hold(GLFW_KEY_R);
    game.hold(GLFW_KEY_ESCAPE);
    EXPECT_FALSE(game.frame(frameStep));
}

class FiftyRunsScenario : public RunCommandScenario {
protected:
    void SetUp() override { game.start(smallWidth, smallHeight); }
};

TEST_F(FiftyRunsScenario, RacingAgainFiftyTimesLeavesGlObjectsAndMemoryWhereOnceLeftThem)
{
    auto crashAndRaceAgain = [this](int i) {
        crash();
        press(i % 2 ? GLFW_KEY_R : GLFW_KEY_ENTER);
        ASSERT_FALSE(run.gameOver);
    };
    crashAndRaceAgain(1);
    const std::vector<int> objects = liveGlObjects();
    [[maybe_unused]] const long resident = residentBytes();
    std::vector<long> heap = {heapInUse()};
    for (int i = 2; i <= 50; ++i) {
        crashAndRaceAgain(i);
        heap.push_back(heapInUse());
    }
    EXPECT_EQ(liveGlObjects(), objects);
#ifndef __SANITIZE_ADDRESS__ // its quarantine keeps freed blocks; its leak check covers the heap instead
    // The driver's pools settle over the first runs, so resident memory gets
    // room for them. The heap in use wanders from run to run with the
    // driver's frame data, its mean over ten runs does not: one run's
    // particle array (64 KB) kept every run lifts the last ten's mean by
    // more than twice this bound.
    EXPECT_LT(residentBytes() - resident, 8L << 20) << (residentBytes() - resident) / 1024 << " KiB more";
    const auto meanOfTen = [&heap](size_t first) {
        return std::accumulate(heap.begin() + first, heap.begin() + first + 10, 0L) / 10;
    };
    EXPECT_LT(meanOfTen(40) - meanOfTen(0), 1L << 20) << (meanOfTen(40) - meanOfTen(0)) / 1024 << " KiB more";
#endif
}

TEST_F(RunCommandScenario, PauseStopsGameTimeUntilResumedWithoutAJump)
{
    game.frame(frameStep);
    game.hold(GLFW_KEY_P);
    game.frame(frameStep);
    game.release(GLFW_KEY_P);
    ASSERT_TRUE(run.paused);
    const auto held = runFields();
    const double heldSpawnTimer = run.spawnTimer;
    const float heldZ = carPosition().z;
    game.frames(320, frameStep); // ten seconds on the clock
    EXPECT_EQ(runFields(), held);

    // A toggle pressed while paused shows at once: the frame time appears.
    auto frameTimeText = [this] {
        return countPixels(game.captureFrame(), 520, 560, 800, 600,
                           [](const unsigned char* p) { return near(p, toRgb(0.5f, 0.8f, 0.2f), 40); });
    };
    const int before = frameTimeText();
    input::keyCallback(game.window(), GLFW_KEY_F2, 0, GLFW_PRESS, 0);
    game.frame(frameStep);
    EXPECT_GT(frameTimeText(), before + 50);
    // So does a new window size, and nothing else draws a paused game again.
    static int drawn = 0;
    stageHook = [](FrameStage stage, bool begin) { drawn += stage == FrameStage::LitScene && begin; };
    framebufferSizeCallback(game.window(), game.width() - 2, game.height());
    game.frames(2, frameStep);
    framebufferSizeCallback(game.window(), game.width(), game.height());
    game.frame(frameStep);
    stageHook = nullptr;
    EXPECT_EQ(drawn, 2) << "a paused game resized twice in three frames";

    press(GLFW_KEY_P);
    ASSERT_FALSE(run.paused);
    EXPECT_EQ(run.deltaTime, frameStep);
    EXPECT_EQ(run.spawnTimer, heldSpawnTimer + frameStep) << "the spawn timer counted the pause";
    EXPECT_LE(heldZ - carPosition().z, car->speed * frameStep * 1.0001) << "more than one frame's step";

    // Escape while paused ends the game as always, even tapped between two
    // frames.
    game.hold(GLFW_KEY_P);
    game.frame(frameStep);
    input::keyCallback(game.window(), GLFW_KEY_ESCAPE, 0, GLFW_PRESS, 0);
    input::keyCallback(game.window(), GLFW_KEY_ESCAPE, 0, GLFW_RELEASE, 0);
    EXPECT_FALSE(game.frame(frameStep));
}

// The window losing the focus, or minimised, pauses a run as P does; the
// focus coming back resumes nothing, P does. GAME OVER goes on while the
// window is away, and a window without an area is drawn into by nothing.
TEST_F(RunCommandScenario, LookingAwayPausesARunWhichOnlyPResumes)
{
    game.frame(frameStep);
    windowFocusCallback(game.window(), GLFW_FALSE);
    game.frame(frameStep);
    ASSERT_TRUE(run.paused) << "the focus went and the run went on";
    const auto held = runFields();
    game.frames(32, frameStep);
    windowFocusCallback(game.window(), GLFW_TRUE);
    game.frames(32, frameStep);
    EXPECT_EQ(runFields(), held) << "the focus came back and the run went on by itself";
    press(GLFW_KEY_P);
    EXPECT_FALSE(run.paused);

    // Shown and focused, so that only the lost area counts as away.
    glfwShowWindow(game.window());
    glfwFocusWindow(game.window());
    while (glfwGetWindowAttrib(game.window(), GLFW_FOCUSED) != GLFW_TRUE)
        glfwWaitEventsTimeout(0.1);
    for (const glm::ivec2 noArea : {glm::ivec2(0, game.height()), glm::ivec2(game.width(), 0)}) {
        framebufferSizeCallback(game.window(), noArea.x, noArea.y);
        game.frame(frameStep);
        EXPECT_TRUE(run.paused) << "the window lost its area, and the run went on";
        framebufferSizeCallback(game.window(), game.width(), game.height());
        press(GLFW_KEY_P);
        ASSERT_FALSE(run.paused);
    }
    glfwHideWindow(game.window());

    windowIconifyCallback(game.window(), GLFW_TRUE);
    game.frame(frameStep);
    EXPECT_TRUE(run.paused) << "minimised, the run went on";
    windowIconifyCallback(game.window(), GLFW_FALSE);
    press(GLFW_KEY_P);
    ASSERT_FALSE(run.paused);

    // Minimised before the game listened: no event says so, the game asks.
    glfwSetWindowIconifyCallback(game.window(), nullptr);
    setMinimisedByWindowManager(game.window(), true);
    watchWindow(game.window());
    game.frame(frameStep);
    EXPECT_TRUE(run.paused) << "started minimised, the run went on";
    setMinimisedByWindowManager(game.window(), false);
    press(GLFW_KEY_P);
    ASSERT_FALSE(run.paused);

    crash();
    windowIconifyCallback(game.window(), GLFW_TRUE);
    framebufferSizeCallback(game.window(), 0, 0);
    const int sparksBefore = particleSystem.time;
    static int waits = 0; // frames nobody sees wait for events instead of racing on
    const auto poll = seam.waitForInput;
    seam.waitForInput = [poll] { ++waits, poll(); };
    game.frames(8, frameStep);
    EXPECT_EQ(waits, 8) << "a window nobody sees was drawn as fast as the machine goes";
    EXPECT_FALSE(run.paused) << "GAME OVER paused";
    EXPECT_GT(particleSystem.time, sparksBefore) << "the fireworks stopped while the window was away";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(countPixels(game.captureFrame(), 0, 0, game.width(), game.height(),
                          [](const unsigned char* p) { return !near(p, clearColour(), 2); }),
              0)
        << "something was drawn into a window without an area";
    windowIconifyCallback(game.window(), GLFW_FALSE);
    framebufferSizeCallback(game.window(), game.width(), game.height());
    game.frame(frameStep);
    EXPECT_GT(countPixels(game.captureFrame(), 50, 180, 560, 260,
                          [](const unsigned char* p) {
                              return near(p, Rgb{255, 255, 255}, 30);
                          }),
              1000)
        << "no GAME OVER drawn once the window came back";
}

} // namespace
} // namespace velorun::scenario
