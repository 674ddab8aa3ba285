// What R / Enter, P, a gamepad's Start and the focus going do to a run, in
// every state and mix: no stray key costs a run, and none goes on unasked.
#include "rules/RunCommands.h"

#include <gtest/gtest.h>

namespace velorun {
namespace {

struct CommandCase {
    const char* name;
    CommandKeys presses;
    bool gameOver;
    bool paused;
    RunCommand expected;
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

class RunCommands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(RunCommands, AskWhatTheRunsStateAllows)
{
    const CommandCase& c = GetParam();
    EXPECT_EQ(runCommand(c.presses, c.gameOver, c.paused), c.expected);
}

constexpr CommandKeys r{true, false, false};
constexpr CommandKeys p{false, true, false};
constexpr CommandKeys start{false, false, true};
constexpr CommandKeys pAndR{true, true, false};
constexpr CommandKeys focusLost{false, false, false, true};
constexpr CommandKeys pAndFocusLost{false, true, false, true};

INSTANTIATE_TEST_SUITE_P(
    EveryState, RunCommands,
    ::testing::Values(CommandCase{"RWhileRacing", r, false, false, RunCommand::None},
                      CommandCase{"PWhileRacing", p, false, false, RunCommand::Pause},
                      CommandCase{"PAndRWhileRacing", pAndR, false, false, RunCommand::Pause},
                      CommandCase{"StartWhileRacing", start, false, false, RunCommand::Pause},
                      CommandCase{"RAtGameOver", r, true, false, RunCommand::RaceAgain},
                      CommandCase{"PAtGameOver", p, true, false, RunCommand::None},
                      CommandCase{"PAndRAtGameOver", pAndR, true, false, RunCommand::RaceAgain},
                      CommandCase{"StartAtGameOver", start, true, false, RunCommand::RaceAgain},
                      CommandCase{"PWhilePaused", p, false, true, RunCommand::Resume},
                      CommandCase{"StartWhilePaused", start, false, true, RunCommand::Resume},
                      CommandCase{"RWhilePaused", r, false, true, RunCommand::None},
                      CommandCase{"FocusLostWhileRacing", focusLost, false, false, RunCommand::Pause},
                      CommandCase{"FocusLostAtGameOver", focusLost, true, false, RunCommand::None},
                      CommandCase{"PAndFocusLostWhilePaused", pAndFocusLost, false, true, RunCommand::None}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace velorun
