// Every OpenGL debug message becomes one console line with named source, type
// and severity.
#include "game/DebugOutput.h"

#include <gtest/gtest.h>

#include <string>

namespace velorun {
namespace {

// Values of the GL debug-output standard and of the older AMD extension, written
// out here so the names are checked against the numbers, not the headers.
constexpr GLenum sourceApi = 0x8246;
constexpr GLenum sourceShaderCompiler = 0x8248;
constexpr GLenum sourceApplication = 0x824A;
constexpr GLenum typeError = 0x824C;
constexpr GLenum typePerformance = 0x8250;
constexpr GLenum typeOther = 0x8251;
constexpr GLenum typeMarker = 0x8268;
constexpr GLenum severityHigh = 0x9146;
constexpr GLenum severityMedium = 0x9147;
constexpr GLenum severityLow = 0x9148;
constexpr GLenum severityNotification = 0x826B;
constexpr GLenum amdApiError = 0x9149;
constexpr GLenum amdPerformance = 0x914D;

std::string line(const std::string& message, const std::string& source, const std::string& type,
                 const std::string& severity, const std::string& id)
{
    return "OpenGL Error: " + message + " [Source = " + source + ", Type = " + type +
           ", Severity = " + severity + ", ID = " + id + "]";
}

TEST(DebugOutput, InvalidEnumFromTheApiIsOneFullLine)
{
    EXPECT_EQ(formatDebugMessage(sourceApi, typeError, 1280, severityHigh, "msg"),
              "OpenGL Error: msg [Source = API, Type = Error, Severity = High, ID = 1280]");
}

TEST(DebugOutput, IdIsWrittenUnsigned)
{
    EXPECT_EQ(formatDebugMessage(sourceApi, typeError, 4294967295u, severityHigh, "m"),
              line("m", "API", "Error", "High", "4294967295"));
    EXPECT_EQ(formatDebugMessage(sourceApi, typeError, 2147483648u, severityHigh, "m"),
              line("m", "API", "Error", "High", "2147483648"));
    EXPECT_EQ(formatDebugMessage(sourceApi, typeError, 0, severityHigh, "m"),
              line("m", "API", "Error", "High", "0"));
}

TEST(DebugOutput, MessageTextIsCopiedVerbatim)
{
    const char* text = "GL_INVALID_ENUM in glEnable(0x1234) [x] = 50%";
    EXPECT_EQ(formatDebugMessage(sourceApi, typeError, 7, severityHigh, text),
              line(text, "API", "Error", "High", "7"));
    EXPECT_EQ(formatDebugMessage(sourceApi, typeError, 7, severityHigh, ""),
              "OpenGL Error:  [Source = API, Type = Error, Severity = High, ID = 7]");
}

TEST(DebugOutput, NotificationStillCarriesTheErrorPrefix)
{
    EXPECT_EQ(formatDebugMessage(sourceApi, typeOther, 131185, severityNotification, "Buffer detailed info"),
              line("Buffer detailed info", "API", "Other", "Unknown", "131185"));
}

TEST(DebugOutput, ApplicationMarkerIsApplicationAndUnknown)
{
    EXPECT_EQ(formatDebugMessage(sourceApplication, typeMarker, 1, severityLow, "mark"),
              line("mark", "Application", "Unknown", "Low", "1"));
}

TEST(DebugOutput, OlderAmdCategoriesNameTheSourceOrTheTypeTheyStandFor)
{
    EXPECT_EQ(formatDebugMessage(amdApiError, amdPerformance, 2, severityLow, "amd"),
              line("amd", "API", "Performance", "Low", "2"));
    EXPECT_EQ(formatDebugMessage(amdPerformance, amdApiError, 2, severityLow, "amd"),
              line("amd", "Unknown", "Unknown", "Low", "2"));
}

TEST(DebugOutput, CallbackWritesTheLineAndANewlineToStandardOutput)
{
    ::testing::internal::CaptureStdout();
    debugCallback(sourceShaderCompiler, typePerformance, 99, severityMedium, 5, "slow!", nullptr);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, line("slow!", "Shader Compiler", "Performance", "Medium", "99") + "\n");
}

TEST(DebugOutput, CallbackIgnoresTheLengthAndReadsUpToTheTerminator)
{
    ::testing::internal::CaptureStdout();
    debugCallback(sourceApi, typeError, 1, severityHigh, 2, "full text", nullptr);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, line("full text", "API", "Error", "High", "1") + "\n");
}

} // namespace
} // namespace velorun
