#include "rules/RunCommands.h"

namespace velorun {

RunCommand runCommand(const CommandKeys& presses, bool gameOver, bool paused)
{
    if (paused)
        return (presses.pause || presses.start) && !presses.focusLost ? RunCommand::Resume : RunCommand::None;
    if (gameOver)
        return presses.raceAgain || presses.start ? RunCommand::RaceAgain : RunCommand::None;
    return presses.pause || presses.start || presses.focusLost ? RunCommand::Pause : RunCommand::None;
}

CommandKeys commandPresses(const input::FrameInput& input)
{
    using input::Command;
    return CommandKeys{input.asks(Command::RaceAgain), input.asks(Command::Pause), input.asks(Command::Start),
                       input.asks(Command::FocusLost)};
}

bool isRunCommand(input::Command command)
{
    using input::Command;
    return command == Command::RaceAgain || command == Command::Pause || command == Command::Start ||
           command == Command::FocusLost;
}

} // namespace velorun
