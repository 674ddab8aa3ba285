#include "launch/CommandLine.h"

#include <cstring>
#include <sstream>

namespace velorun {

namespace {
template <typename T> bool extract(const char* text, T& value)
{
    std::istringstream stream{std::string(text)};
    stream >> value;
    return !stream.fail(); // end of input alone is not a failure
}
} // namespace

CommandLineResult parseCommandLine(int argc, const char* const* argv)
{
    CommandLineResult result;
    if (argc < 3)
        return result;
    if (!extract(argv[1], result.settings.width)) {
        result.error = CommandLineError::FirstArgument;
        return result;
    }
    if (!extract(argv[2], result.settings.height)) {
        result.error = CommandLineError::SecondArgument;
        return result;
    }
    if (argc >= 4 && !extract(argv[3], result.settings.fullScreen))
        result.error = CommandLineError::ThirdArgument;
    return result;
}

std::string commandLineErrorMessage(CommandLineError error)
{
    switch (error) {
    case CommandLineError::FirstArgument:
        return "ERROR: Could not parse first command-line argument as integer. ";
    case CommandLineError::SecondArgument:
        return "ERROR: Could not parse second command-line argument as integer. ";
    case CommandLineError::ThirdArgument:
        return "ERROR: Could not parse third command-line argument as integer. ";
    case CommandLineError::None:
        break;
    }
    return "";
}

CommandLineQuery commandLineQuery(int argc, const char* const* argv)
{
    if (argc < 2)
        return CommandLineQuery::None;
    const char* first = argv[1];
    if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0)
        return CommandLineQuery::Help;
    if (std::strcmp(first, "--version") == 0)
        return CommandLineQuery::Version;
    return CommandLineQuery::None;
}

SessionRequest sessionRequest(int argc, const char* const* argv)
{
    SessionRequest request;
    request.gameArguments.assign(argv, argv + argc);
    if (argc < 2)
        return request;
    const struct {
        const char* option;
        SessionMode mode;
    } options[] = {{"--record", SessionMode::Record},
                   {"--replay", SessionMode::Replay},
                   {"--timedemo", SessionMode::Timedemo}};
    for (const auto& option : options) {
        if (std::strcmp(argv[1], option.option) != 0)
            continue;
        request.mode = option.mode;
        if (argc >= 3)
            request.file = argv[2];
        request.gameArguments = {argv[0]};
        if (option.mode == SessionMode::Record && argc > 3)
            request.gameArguments.insert(request.gameArguments.end(), argv + 3, argv + argc);
    }
    return request;
}

std::string missingFileMessage(SessionMode mode)
{
    switch (mode) {
    case SessionMode::Record:
        return "ERROR: --record needs the FILE to record the session to.";
    case SessionMode::Replay:
        return "ERROR: --replay needs the FILE of a recorded session.";
    case SessionMode::Timedemo:
        return "ERROR: --timedemo needs the FILE of a recorded session.";
    case SessionMode::Play:
        break;
    }
    return "";
}

std::string usageText()
{
    return "Usage: velorun [WIDTH HEIGHT [FULLSCREEN]]\n"
           "       velorun --record FILE [WIDTH HEIGHT [FULLSCREEN]]\n"
           "       velorun --replay FILE | --timedemo FILE\n"
           "       velorun --help | -h | --version\n"
           "\n"
           "Race a car down an endless tube and dodge the cubes.\n"
           "\n"
           "  WIDTH HEIGHT     window size, default 800 600; both are needed for either\n"
           "                   to count, a single argument is ignored\n"
           "  FULLSCREEN       1: full screen on the primary monitor at 60 Hz; 0: windowed\n"
           "  -h, --help       print this help and exit\n"
           "  --version        print the version and exit\n"
           "  --record FILE    play, and keep the whole session in FILE; attach it to a\n"
           "                   bug report and it shows exactly what happened\n"
           "  --replay FILE    play a recorded session back at its own pace, then say\n"
           "                   whether it went exactly as recorded\n"
           "  --timedemo FILE  play a recorded session back as fast as the machine can\n"
           "                   and print the frame rate and frame times\n"
           "\n"
           "Controls (keyboard, first gamepad):\n"
           "  arrow keys, D-pad or left stick  steer across the tube\n"
           "  Escape, Back                     quit\n"
           "  R, Enter, Start                  race again after GAME OVER\n"
           "  P, Start                         pause or go on while racing; switching to\n"
           "                                   another window or minimising pauses too\n"
           "  F11, Alt+Enter                   full screen / window\n"
           "  M                                sound off / on\n"
           "  F2                               frame time shown / hidden\n"
           "  F3                               wireframe on / off\n"
           "  F4                               next mip-mapping setting\n"
           "  F5                               nearest-texel filtering on / off\n"
           "  F6                               lens flares on / off\n"
           "  F9                               blending on / off\n"
           "\n"
           "The game reads Shader/, Textures/ and Resources/ from the current\n"
           "directory. The installed velorun command starts it in the data folder,\n"
           "share/velorun under the installation prefix.\n";
}

std::string versionText() { return std::string("velorun ") + VELORUN_VERSION + "\n"; }

} // namespace velorun
