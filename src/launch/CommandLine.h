#pragma once

#include "game/LaunchSettings.h"

#include <string>
#include <vector>

namespace velorun {

enum class CommandLineError { None, FirstArgument, SecondArgument, ThirdArgument };

struct CommandLineResult {
    LaunchSettings settings;
    CommandLineError error = CommandLineError::None;
};

// Width, height and full-screen flag. At least two arguments are needed for
// any to count; each is read like a stream extraction (leading blanks skipped,
// trailing characters ignored), the flag only as 0 or 1; extras are ignored.
CommandLineResult parseCommandLine(int argc, const char* const* argv);

// The console message for an error; it ends in a blank.
std::string commandLineErrorMessage(CommandLineError error);

// A question about the program rather than settings for the game.
enum class CommandLineQuery { None, Help, Version };

// --help or -h, or --version, as the first argument, whatever follows it.
// Any other argument list is for parseCommandLine, so a question never
// changes how the game reads its settings.
CommandLineQuery commandLineQuery(int argc, const char* const* argv);

// A session kept in a file or played back from one, asked for by the first
// argument: --record FILE [WIDTH HEIGHT [FULLSCREEN]], --replay FILE or
// --timedemo FILE. Any other argument list is a plain game (Play).
enum class SessionMode { Play, Record, Replay, Timedemo };

struct SessionRequest {
    SessionMode mode = SessionMode::Play;
    std::string file; // empty when the option came without one
    // The argument list the game reads its settings from, as parseCommandLine
    // takes it: for --record, the program's name and what follows FILE; for a
    // plain game, all of them.
    std::vector<const char*> gameArguments;
};

SessionRequest sessionRequest(int argc, const char* const* argv);

// The message for an option that came without its FILE.
std::string missingFileMessage(SessionMode mode);

// The answers, each ending in a newline: the arguments, the controls and
// where the data files are read from; "velorun" and the version.
std::string usageText();
std::string versionText();

} // namespace velorun
