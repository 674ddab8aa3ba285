// A gamepad steers through the frame seam exactly as the arrow keys do: the
// same scripted drive, once with keys held and once with the pad's D-pad or
// left stick, leaves the car in the very same place. Back ends the loop like
// Escape.
#include "ScenarioFixture.h"

#include "game/Frame.h"
#include "game/FrameSeam.h"
#include "input/GamepadMapping.h"
#include "scene/RunState.h"

#include <GLFW/glfw3.h>

#include <vector>

namespace velorun::scenario {
namespace {

struct PadDrive {
    const char* name;
    std::vector<int> keys;
    std::vector<int> padButtons;
    glm::vec2 leftStick;
    glm::vec2 start;
};

const std::vector<PadDrive> drives = {
    {"D-pad right", {GLFW_KEY_RIGHT}, {GLFW_GAMEPAD_BUTTON_DPAD_RIGHT}, {0.0f, 0.0f}, {safeX, safeY}},
    {"stick diagonal up-right from beyond the wall",
     {GLFW_KEY_UP, GLFW_KEY_RIGHT},
     {},
     {0.7f, -0.7f},
     {3.2f, 0.5f}},
    {"stick inside the dead zone", {}, {}, {0.3f, -0.3f}, {1.0f, 1.0f}},
    {"D-pad down with the stick left",
     {GLFW_KEY_DOWN, GLFW_KEY_LEFT},
     {GLFW_GAMEPAD_BUTTON_DPAD_DOWN},
     {-1.0f, 0.0f},
     {1.0f, 2.0f}},
};

class GamepadScenario : public GameScenario {
protected:
    GLFWgamepadstate pad = input::restingGamepad();
    bool padConnected = false;

    void SetUp() override
    {
        GameScenario::SetUp();
        // The harness's scripted keyboard, with the scripted pad beside it.
        game.useGamepad([this](GLFWgamepadstate& state) {
            if (padConnected)
                state = pad;
            return padConnected;
        });
    }

    // Stages 7 and 8 of a stretch of frames, from the car at `start`.
    glm::vec3 driveFrom(glm::vec2 start)
    {
        placeCar({start.x, start.y, -12.5f});
        for (int i = 0; i < 24; ++i) {
            steerCar(game.heldInput(), 0.05f);
            driveCar(0.05f);
        }
        return carPosition();
    }
};

TEST_F(GamepadScenario, PadSteersTheCarExactlyAsTheSameArrowKeys)
{
    for (const PadDrive& drive : drives) {
        SCOPED_TRACE(drive.name);
        game.releaseAll();
        padConnected = false;
        for (int key : drive.keys)
            game.hold(key);
        const glm::vec3 byKeys = driveFrom(drive.start);
        game.releaseAll();

        pad = input::restingGamepad();
        for (int button : drive.padButtons)
            pad.buttons[button] = GLFW_PRESS;
        pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = drive.leftStick.x;
        pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = drive.leftStick.y;
        padConnected = true;
        const glm::vec3 byPad = driveFrom(drive.start);

        EXPECT_EQ(byPad.x, byKeys.x);
        EXPECT_EQ(byPad.y, byKeys.y);
        EXPECT_EQ(byPad.z, byKeys.z);
        // Keys that steer at all carry the car off its start.
        const bool moved = byKeys.x != drive.start.x || byKeys.y != drive.start.y;
        EXPECT_EQ(moved, !drive.keys.empty());
    }
}

TEST_F(GamepadScenario, BackEndsTheLoopAfterTheFrameAndUnpluggingIsHarmless)
{
    padConnected = true;
    EXPECT_TRUE(game.frame(tinyStep)) << "a resting pad quits";
    pad.buttons[GLFW_GAMEPAD_BUTTON_BACK] = GLFW_PRESS;
    padConnected = false; // unplugged with Back held: nothing happens
    EXPECT_TRUE(game.frame(tinyStep));
    padConnected = true;
    EXPECT_FALSE(game.frame(tinyStep)) << "Back quits like Escape";
}

} // namespace
} // namespace velorun::scenario
