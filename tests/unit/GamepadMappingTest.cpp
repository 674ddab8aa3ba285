// The gamepad as the keyboard: the D-pad and the left stick stand for the
// arrow keys, Back for Escape, Start for its own code; the stick counts only
// beyond its dead zone.
#include "input/GamepadMapping.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <vector>

namespace velorun::input {
namespace {

const std::vector<int> keysAsked = {GLFW_KEY_RIGHT, GLFW_KEY_LEFT,   GLFW_KEY_UP,
                                    GLFW_KEY_DOWN,  GLFW_KEY_ESCAPE, GLFW_KEY_M,
                                    GLFW_KEY_P,     GLFW_KEY_R,      startButtonKey};

std::set<int> keysHeld(const GLFWgamepadstate& state)
{
    std::set<int> held;
    for (int key : keysAsked) {
        if (gamepadHoldsKey(state, key))
            held.insert(key);
    }
    return held;
}

GLFWgamepadstate stick(float x, float y)
{
    GLFWgamepadstate state = restingGamepad();
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = x;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = y;
    return state;
}

GLFWgamepadstate buttons(std::initializer_list<int> down)
{
    GLFWgamepadstate state = restingGamepad();
    for (int b : down)
        state.buttons[b] = GLFW_PRESS;
    return state;
}

struct PadCase {
    const char* name;
    GLFWgamepadstate state;
    std::set<int> expected;
};

void PrintTo(const PadCase& c, std::ostream* os) { *os << c.name; }

class GamepadMapping : public ::testing::TestWithParam<PadCase> {};

TEST_P(GamepadMapping, HoldsExactlyTheKeysItStandsFor)
{
    EXPECT_EQ(keysHeld(GetParam().state), GetParam().expected);
}

const float justPast = 0.3501f;
const float diagonal = 0.7071f; // a full lean at 45 degrees

INSTANTIATE_TEST_SUITE_P(
    StickAndButtons, GamepadMapping,
    ::testing::Values(PadCase{"Resting", restingGamepad(), {}},
                      PadCase{"RightAtDeadZone", stick(stickDeadZone, 0.0f), {}},
                      PadCase{"UpAtDeadZone", stick(0.0f, -stickDeadZone), {}},
                      PadCase{"LeftJustPast", stick(-justPast, 0.0f), {GLFW_KEY_LEFT}},
                      PadCase{"DownJustPast", stick(0.0f, justPast), {GLFW_KEY_DOWN}},
                      PadCase{"DiagonalUpRight", stick(diagonal, -diagonal), {GLFW_KEY_RIGHT, GLFW_KEY_UP}},
                      PadCase{"DiagonalDownLeft", stick(-diagonal, diagonal), {GLFW_KEY_LEFT, GLFW_KEY_DOWN}},
                      // Half a lean at 45 degrees stays short of the dead zone on both axes.
                      PadCase{"SmallDiagonal", stick(0.3f, -0.3f), {}},
                      PadCase{"DpadUpRight",
                              buttons({GLFW_GAMEPAD_BUTTON_DPAD_UP, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT}),
                              {GLFW_KEY_UP, GLFW_KEY_RIGHT}},
                      PadCase{"DpadDownLeft",
                              buttons({GLFW_GAMEPAD_BUTTON_DPAD_DOWN, GLFW_GAMEPAD_BUTTON_DPAD_LEFT}),
                              {GLFW_KEY_DOWN, GLFW_KEY_LEFT}},
                      PadCase{"Back", buttons({GLFW_GAMEPAD_BUTTON_BACK}), {GLFW_KEY_ESCAPE}},
                      PadCase{"Start", buttons({GLFW_GAMEPAD_BUTTON_START}), {startButtonKey}},
                      PadCase{
                          "OtherButtons", buttons({GLFW_GAMEPAD_BUTTON_A, GLFW_GAMEPAD_BUTTON_GUIDE}), {}}),
    [](const ::testing::TestParamInfo<PadCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace velorun::input
