#include "launch/RunGame.h"

#include "base/Console.h"
#include "game/Frame.h"
#include "game/StartUp.h"
#include "launch/CommandLine.h"
#include "replay/ReplaySession.h"

#include <cstdlib>
#include <iostream>

namespace velorun {

int runGame(int argc, const char* const* argv)
{
    if (const CommandLineQuery query = commandLineQuery(argc, argv); query != CommandLineQuery::None) {
        std::cout << (query == CommandLineQuery::Help ? usageText() : versionText()) << std::flush;
        // An answer is not a run: leave before GLFW starts, and without the
        // farewells that program-wide objects print at exit.
        std::quick_exit(std::cout ? 0 : 1);
    }
    const SessionRequest session = sessionRequest(argc, argv);
    if (session.mode != SessionMode::Play && session.file.empty()) {
        std::cerr << missingFileMessage(session.mode) << std::endl;
        fatalExit(1);
    }
    if (session.mode == SessionMode::Replay || session.mode == SessionMode::Timedemo)
        return replaySession(session.file, session.mode == SessionMode::Timedemo);

    const int count = static_cast<int>(session.gameArguments.size());
    const CommandLineResult parsed = parseCommandLine(count, session.gameArguments.data());
    if (parsed.error != CommandLineError::None) {
        // GLFW starts first, as it always has: without a window system, that
        // is what the player hears of.
        initGlfw();
        std::cerr << commandLineErrorMessage(parsed.error) << std::endl;
        fatalExit(1);
    }
    if (session.mode == SessionMode::Record)
        return recordSession(session.file, parsed.settings);
    GLFWwindow* window = startUp(parsed.settings);
    while (runFrame(window)) {}
    shutDown();
    return 0;
}

} // namespace velorun
