// Ten minutes of game time through the real frame loop: play, crash, and a
// long stretch of fireworks. No GL error may be reported and memory may grow
// only with the obstacle cubes the rules keep adding after the crash.
#include "KeepLibrariesLoaded.h"
#include "drive/ScriptedDrive.h"
#include "lighting/SceneState.h"
#include "particles/ParticleSystem.h"
#include "scene/RunState.h"

#include <GLFW/glfw3.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using namespace velorun;

namespace {

constexpr double step = 0.25; // seconds of game time per frame
constexpr double gameSeconds = 600.0; // ten minutes
constexpr double settleSeconds = 30.0; // caches warm up after the crash
constexpr long bytesPerCube = 16 * 1024; // a cube's record, buffers and driver bookkeeping
constexpr long slackBytes = 8L * 1024 * 1024;

int frame = 0;

long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Steers at the nearest obstacle ahead so the crash comes early.
void chaseObstacles(ScriptedDrive& drive)
{
    drive.releaseAll();
    if (run.gameOver)
        return;
    const glm::vec3 p = scene::positionOf(car->modelMatrix);
    if (const scene::Cube* cube = nearestObstacleAhead(p.z, 0.5f)) {
        const glm::vec3 t = scene::positionOf(cube->modelMatrix);
        drive.steerTowards(glm::vec2(t.x, t.y), 0.15f);
    }
}

} // namespace

TEST(Soak, TenMinutesOfPlayCrashAndFireworks)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();

    ScriptedDrive drive;
    drive.start(160, 120); // what the soak watches does not depend on the picture's size
    int crashFrame = -1;
    long baselineBytes = 0;
    size_t baselineCubes = 0;
    const int frames = static_cast<int>(gameSeconds / step);
    for (; frame < frames; ++frame) {
        chaseObstacles(drive);
        ASSERT_TRUE(drive.frame(step)) << "the loop ended on its own at frame " << frame;
        if (run.gameOver && crashFrame < 0)
            crashFrame = frame;
        if (crashFrame >= 0 && frame == crashFrame + static_cast<int>(settleSeconds / step)) {
            baselineBytes = residentBytes();
            baselineCubes = run.cubes.size();
        }
    }
    const long finalBytes = residentBytes();
    const size_t finalCubes = run.cubes.size();
    const int fireworksTime = particleSystem.time;
    velorun::test::keepLoadedLibrariesUntilExit();
    drive.finish();

    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_GE(crashFrame, 0) << "the car never hit an obstacle";
    ASSERT_GT(baselineBytes, 0);
    EXPECT_EQ(out.find("OpenGL Error:"), std::string::npos) << out.substr(0, 2000);
    EXPECT_EQ(err.find("GL ERROR DETECTED!!!"), std::string::npos) << err.substr(0, 2000);

    // After the crash the fixed camera keeps getting new cubes: the spawn timer
    // must pass 1 s, which at this step is every fifth frame (1.25 s).
    const double fireworksSeconds = (frames - crashFrame) * step;
    const double spawnPeriod = 5 * step;
    const auto expectedNewCubes = static_cast<size_t>((fireworksSeconds - settleSeconds) / spawnPeriod) - 1;
    EXPECT_GE(finalCubes, baselineCubes + expectedNewCubes);
    EXPECT_GE(fireworksTime, static_cast<int>((fireworksSeconds - 1.0) * 1000.0));

    const long allowed = static_cast<long>(finalCubes - baselineCubes) * bytesPerCube + slackBytes;
    EXPECT_LE(finalBytes - baselineBytes, allowed)
        << "resident memory grew by " << (finalBytes - baselineBytes) / 1024 << " KiB for "
        << (finalCubes - baselineCubes) << " new run.cubes";
}
