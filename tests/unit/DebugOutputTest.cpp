// Every OpenGL debug message becomes one console line with named source, type
// and severity.
#include "app/DebugOutput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace velorun {
namespace {

// Values of the GL debug-output standard and of the older AMD extension, written
// out here so the tables are checked against the numbers, not the headers.
constexpr GLenum sourceApi = 0x8246;
constexpr GLenum sourceWindowSystem = 0x8247;
constexpr GLenum sourceShaderCompiler = 0x8248;
constexpr GLenum sourceThirdParty = 0x8249;
constexpr GLenum sourceApplication = 0x824A;
constexpr GLenum sourceOther = 0x824B;
constexpr GLenum typeError = 0x824C;
constexpr GLenum typeDeprecated = 0x824D;
constexpr GLenum typeUndefined = 0x824E;
constexpr GLenum typePortability = 0x824F;
constexpr GLenum typePerformance = 0x8250;
constexpr GLenum typeOther = 0x8251;
constexpr GLenum typeMarker = 0x8268;
constexpr GLenum typePushGroup = 0x8269;
constexpr GLenum typePopGroup = 0x826A;
constexpr GLenum severityHigh = 0x9146;
constexpr GLenum severityMedium = 0x9147;
constexpr GLenum severityLow = 0x9148;
constexpr GLenum severityNotification = 0x826B;
constexpr GLenum amdApiError = 0x9149;
constexpr GLenum amdWindowSystem = 0x914A;
constexpr GLenum amdDeprecation = 0x914B;
constexpr GLenum amdUndefinedBehavior = 0x914C;
constexpr GLenum amdPerformance = 0x914D;
constexpr GLenum amdShaderCompiler = 0x914E;
constexpr GLenum amdApplication = 0x914F;
constexpr GLenum amdOther = 0x9150;

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

struct NameCase {
    GLenum value;
    const char* name;
};

std::ostream& operator<<(std::ostream& os, const NameCase& c)
{
    return os << "0x" << std::hex << c.value << std::dec << " -> " << c.name;
}

std::string PrintName(const ::testing::TestParamInfo<NameCase>& info)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "x%04X", static_cast<unsigned>(info.param.value));
    return buffer;
}

class SourceName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SourceName, AppearsInTheLine)
{
    EXPECT_EQ(formatDebugMessage(GetParam().value, typeError, 3, severityMedium, "s"),
              line("s", GetParam().name, "Error", "Medium", "3"));
}

INSTANTIATE_TEST_SUITE_P(DebugOutput, SourceName,
                         ::testing::Values(NameCase{sourceApi, "API"}, NameCase{amdApiError, "API"},
                                           NameCase{sourceWindowSystem, "Window System"},
                                           NameCase{amdWindowSystem, "Window System"},
                                           NameCase{sourceShaderCompiler, "Shader Compiler"},
                                           NameCase{amdShaderCompiler, "Shader Compiler"},
                                           NameCase{sourceThirdParty, "Third Party"},
                                           NameCase{sourceApplication, "Application"},
                                           NameCase{amdApplication, "Application"},
                                           NameCase{sourceOther, "Other"}, NameCase{amdOther, "Other"},
                                           // the AMD categories that are types, not sources
                                           NameCase{amdDeprecation, "Unknown"},
                                           NameCase{amdUndefinedBehavior, "Unknown"},
                                           NameCase{amdPerformance, "Unknown"}, NameCase{0, "Unknown"},
                                           NameCase{typeError, "Unknown"}, NameCase{0x8245, "Unknown"}),
                         PrintName);

class TypeName : public ::testing::TestWithParam<NameCase> {};

TEST_P(TypeName, AppearsInTheLine)
{
    EXPECT_EQ(formatDebugMessage(sourceOther, GetParam().value, 4, severityLow, "t"),
              line("t", "Other", GetParam().name, "Low", "4"));
}

INSTANTIATE_TEST_SUITE_P(
    DebugOutput, TypeName,
    ::testing::Values(NameCase{typeError, "Error"}, NameCase{typeDeprecated, "Deprecated Behavior"},
                      NameCase{amdDeprecation, "Deprecated Behavior"},
                      NameCase{typeUndefined, "Undefined Behavior"},
                      NameCase{amdUndefinedBehavior, "Undefined Behavior"},
                      NameCase{typePortability, "Portability"}, NameCase{typePerformance, "Performance"},
                      NameCase{amdPerformance, "Performance"}, NameCase{typeOther, "Other"},
                      NameCase{amdOther, "Other"}, NameCase{typeMarker, "Unknown"},
                      NameCase{typePushGroup, "Unknown"}, NameCase{typePopGroup, "Unknown"},
                      // the AMD categories that are sources, not types
                      NameCase{amdApiError, "Unknown"}, NameCase{amdWindowSystem, "Unknown"},
                      NameCase{amdShaderCompiler, "Unknown"}, NameCase{amdApplication, "Unknown"},
                      NameCase{sourceApi, "Unknown"}, NameCase{0, "Unknown"}),
    PrintName);

class SeverityName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SeverityName, AppearsInTheLine)
{
    EXPECT_EQ(formatDebugMessage(sourceThirdParty, typePortability, 5, GetParam().value, "v"),
              line("v", "Third Party", "Portability", GetParam().name, "5"));
}

INSTANTIATE_TEST_SUITE_P(DebugOutput, SeverityName,
                         ::testing::Values(NameCase{severityHigh, "High"}, NameCase{severityMedium, "Medium"},
                                           NameCase{severityLow, "Low"},
                                           NameCase{severityNotification, "Unknown"}, NameCase{0, "Unknown"},
                                           NameCase{0x9149, "Unknown"}),
                         PrintName);

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
