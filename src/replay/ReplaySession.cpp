#include "replay/ReplaySession.h"

#include "base/Console.h"
#include "base/Fnv1a.h"
#include "game/Frame.h"
#include "game/FrameSeam.h"
#include "game/StartUp.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayRecorder.h"

#include <GLFW/glfw3.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>

namespace velorun {

namespace {

// Frames between two checks of the run's state in a recording: a divergence
// is named to within this many frames, for four bytes a check.
constexpr std::uint16_t recordingCheckInterval = 8;

std::string programFingerprint()
{
#ifdef __linux__
    std::ifstream program("/proc/self/exe", std::ios::binary);
    if (!program)
        return "";
    Fnv1a<std::uint64_t> hash;
    char chunk[65536];
    while (program.read(chunk, sizeof chunk) || program.gcount() > 0)
        hash.addBytes(chunk, static_cast<std::size_t>(program.gcount()));
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash.value()));
    return text;
#else
    return "";
#endif
}

} // namespace

int recordSession(const std::string& path, const LaunchSettings& window)
{
    GLFWwindow* gameWindow = startUp(window);
    ReplayRecorder recorder;
    recorder.start(path, ReplayHeader{VELORUN_VERSION, buildIdentity(), window, recordingCheckInterval});
    seam.frameDone = [&recorder](const input::FrameInput& input) { recorder.record(input); };
    while (runFrame(gameWindow)) {}
    recorder.finish();
    shutDown();
    return 0;
}

int replaySession(const std::string& path, bool timedemo)
{
    // The whole file is read through before the window opens, holding none
    // of it: a damaged file is turned away at once, and playing reads the
    // frames one at a time.
    ReplayCheck check = checkReplayFile(path);
    if (!check.summary) {
        std::cerr << "Cannot replay " << path << ": " << check.error << std::endl;
        fatalExit(1);
    }
    const ReplayHeader& header = check.summary->header;
    if (header.build != buildIdentity() || header.gameVersion != VELORUN_VERSION)
        std::cerr << "Warning: " << path << " was recorded by another build of Velorun ("
                  << header.gameVersion << ", " << header.build << "); it may not replay exactly"
                  << std::endl;

    // The recorded window, opened as the command line would open it.
    GLFWwindow* window = startUp(header.window);
    ReplayPlayer player(path, std::move(*check.summary),
                        timedemo ? ReplayPlayer::Pace::Unpaced : ReplayPlayer::Pace::Recorded);
    player.install(window);
    // Playing keeps nothing per frame: however long the recording, a replay
    // takes the memory of a short one.
    std::optional<FrameTimes> frameTimes;
    if (timedemo)
        frameTimes.emplace();
    using Clock = std::chrono::steady_clock;
    while (!player.finished()) {
        const Clock::time_point start = Clock::now();
        const bool goOn = runFrame(window);
        if (frameTimes)
            frameTimes->add(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (!goOn)
            break;
    }
    player.checkEnd();
    shutDown();

    std::cout << "Replay " << path << ": " << player.verdict() << std::endl;
    if (frameTimes)
        std::cout << timedemoSummary(*frameTimes) << std::endl;
    return player.matched() ? 0 : 1;
}

std::string buildIdentity()
{
#if defined(__clang__)
    std::string id = std::string("clang ") + __clang_version__;
#elif defined(__GNUC__)
    std::string id = std::string("gcc ") + __VERSION__;
#elif defined(_MSC_VER)
    std::string id = "msvc " + std::to_string(_MSC_FULL_VER);
#else
    std::string id = "unknown compiler";
#endif
    id += " " + std::to_string(sizeof(void*) * 8) + "-bit";
    const std::string fingerprint = programFingerprint();
    if (!fingerprint.empty())
        id += " " + fingerprint;
    return id;
}

} // namespace velorun
