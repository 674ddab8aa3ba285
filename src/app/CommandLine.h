#pragma once

#include <string>

namespace velorun {

struct LaunchSettings {
    int width = 800;
    int height = 600;
    bool fullScreen = false;
};

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

} // namespace velorun
