#include "app/ReplaySession.h"

#include "app/FrameSeam.h"
#include "app/Game.h"
#include "app/ReplayPlayer.h"
#include "app/ReplayRecorder.h"
#include "base/Console.h"

#include <GLFW/glfw3.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>

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
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    char chunk[65536];
    while (program.read(chunk, sizeof chunk) || program.gcount() > 0) {
        for (std::streamsize i = 0; i < program.gcount(); ++i)
            hash = (hash ^ static_cast<unsigned char>(chunk[i])) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
#else
    return "";
#endif
}

int record(const SessionRequest& request)
{
    const int argc = static_cast<int>(request.gameArguments.size());
    GLFWwindow* window = startUp(argc, request.gameArguments.data());
    ReplayRecorder recorder;
    recorder.start(request.file, ReplayHeader{VELORUN_VERSION, buildIdentity(),
                                              parseCommandLine(argc, request.gameArguments.data()).settings,
                                              recordingCheckInterval});
    frameSeam().frameDone = [&recorder](const input::FrameInput& input) { recorder.record(input); };
    while (runFrame(window)) {}
    recorder.finish();
    shutDown();
    return 0;
}

int replay(const SessionRequest& request)
{
    // The whole file is read through before the window opens, holding none
    // of it: a damaged file is turned away at once, and playing reads the
    // frames one at a time.
    ReplayCheck check = checkReplayFile(request.file);
    if (!check.summary) {
        std::cerr << "Cannot replay " << request.file << ": " << check.error << std::endl;
        fatalExit(1);
    }
    const ReplayHeader& header = check.summary->header;
    if (header.build != buildIdentity() || header.gameVersion != VELORUN_VERSION)
        std::cerr << "Warning: " << request.file << " was recorded by another build of Velorun ("
                  << header.gameVersion << ", " << header.build << "); it may not replay exactly"
                  << std::endl;

    // The recorded window, opened as the command line would open it.
    const std::string width = std::to_string(header.window.width);
    const std::string height = std::to_string(header.window.height);
    const char* argv[] = {"velorun", width.c_str(), height.c_str(), header.window.fullScreen ? "1" : "0",
                          nullptr};
    GLFWwindow* window = startUp(4, argv);

    const bool timedemo = request.mode == SessionMode::Timedemo;
    ReplayPlayer player(request.file, std::move(*check.summary),
                        timedemo ? ReplayPlayer::Pace::Unpaced : ReplayPlayer::Pace::Recorded);
    player.install(window);
    std::vector<double> frameMs;
    using Clock = std::chrono::steady_clock;
    while (!player.finished()) {
        const Clock::time_point start = Clock::now();
        const bool goOn = runFrame(window);
        frameMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (!goOn)
            break;
    }
    player.checkEnd();
    shutDown();

    std::cout << "Replay " << request.file << ": " << player.verdict() << std::endl;
    if (timedemo)
        std::cout << timedemoSummary(frameMs) << std::endl;
    return player.matched() ? 0 : 1;
}

} // namespace

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

int runSession(const SessionRequest& request)
{
    if (request.file.empty()) {
        std::cerr << missingFileMessage(request.mode) << std::endl;
        fatalExit(1);
    }
    return request.mode == SessionMode::Record ? record(request) : replay(request);
}

} // namespace velorun
