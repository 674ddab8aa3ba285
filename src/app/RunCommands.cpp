#include "app/RunCommands.h"

#include "app/GameState.h"
#include "input/GamepadMapping.h"

#include <GLFW/glfw3.h>

namespace velorun {

RunCommand runCommand(const CommandKeys& presses, bool gameOver, bool paused)
{
    if (paused)
        return presses.pause || presses.start ? RunCommand::Resume : RunCommand::None;
    if (gameOver)
        return presses.raceAgain || presses.start ? RunCommand::RaceAgain : RunCommand::None;
    return presses.pause || presses.start ? RunCommand::Pause : RunCommand::None;
}

CommandKeys pressedSince(const CommandKeys& before, const CommandKeys& now)
{
    return CommandKeys{now.raceAgain && !before.raceAgain, now.pause && !before.pause,
                       now.start && !before.start};
}

CommandKeys commandKeysDown(GLFWwindow* window)
{
    // Every key is asked every frame, so a tap the key handler saw is taken
    // from its latch whichever other keys are down.
    const bool r = seam.keyDown(window, GLFW_KEY_R);
    const bool enter = seam.keyDown(window, GLFW_KEY_ENTER);
    const bool keypadEnter = seam.keyDown(window, GLFW_KEY_KP_ENTER);
    return CommandKeys{r || enter || keypadEnter, seam.keyDown(window, GLFW_KEY_P),
                       seam.keyDown(window, input::startButtonKey)};
}

} // namespace velorun
