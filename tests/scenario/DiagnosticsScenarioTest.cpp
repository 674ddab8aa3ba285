// The game's two GL error reports, as the real start-up installs them.
#include "ScenarioFixture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <string>

namespace velorun::scenario {
namespace {

int countOf(const std::string& text, const std::string& line)
{
    int count = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++count;
    return count;
}

TEST_F(GameScenario, AGlErrorIsPrintedAsItHappensAndCaughtAtTheEndOfTheFrame)
{
    game.frame(tinyStep);
    GLint flags = 0;
    glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
    EXPECT_TRUE(flags & GL_CONTEXT_FLAG_DEBUG_BIT);
    EXPECT_TRUE(glIsEnabled(GL_DEBUG_OUTPUT_SYNCHRONOUS));

    // Synchronous output: the line is there when the faulty call returns.
    testing::internal::CaptureStdout();
    glEnable(0x1234);
    const std::string atOnce = testing::internal::GetCapturedStdout();
    EXPECT_EQ(countOf(atOnce, "OpenGL Error: "), 1) << atOnce;
    EXPECT_NE(atOnce.find("Type = Error"), std::string::npos) << atOnce;

    // The error is still pending; the frame's own check reports it once.
    testing::internal::CaptureStderr();
    game.frame(frameStep);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countOf(err, "GL ERROR DETECTED!!!"), 1) << err;

    testing::internal::CaptureStderr();
    game.frame(frameStep);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a clean frame reports nothing";
}

} // namespace
} // namespace velorun::scenario
