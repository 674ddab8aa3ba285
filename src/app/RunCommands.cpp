#include "app/RunCommands.h"

#include <GLFW/glfw3.h>

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
    return CommandKeys{
        input.pressed(GLFW_KEY_R) || input.pressed(GLFW_KEY_ENTER) || input.pressed(GLFW_KEY_KP_ENTER),
        input.pressed(GLFW_KEY_P), input.pressed(input::startButtonKey), input.pressed(input::focusLostKey)};
}

} // namespace velorun
