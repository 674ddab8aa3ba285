#include "app/CommandLine.h"

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

} // namespace velorun
