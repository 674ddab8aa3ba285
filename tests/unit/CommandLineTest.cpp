// Reading width, height and the full-screen flag from the command line.
#include "launch/CommandLine.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace velorun {
namespace {

CommandLineResult parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "velorun");
    const int argc = static_cast<int>(args.size());
    args.push_back(nullptr); // argv[argc] is a null pointer, as for main
    return parseCommandLine(argc, args.data());
}

TEST(CommandLine, NoArgumentsGiveThe800x600Window)
{
    const CommandLineResult result = parse({});
    EXPECT_EQ(result.error, CommandLineError::None);
    EXPECT_EQ(result.settings.width, 800);
    EXPECT_EQ(result.settings.height, 600);
    EXPECT_FALSE(result.settings.fullScreen);
}

TEST(CommandLine, ASingleArgumentIsIgnored)
{
    for (const char* only : {"1024", "abc", "1"}) {
        SCOPED_TRACE(only);
        const CommandLineResult result = parse({only});
        EXPECT_EQ(result.error, CommandLineError::None);
        EXPECT_EQ(result.settings.width, 800);
        EXPECT_EQ(result.settings.height, 600);
        EXPECT_FALSE(result.settings.fullScreen);
    }
}

TEST(CommandLine, WidthAndHeightAreTaken)
{
    const CommandLineResult result = parse({"1024", "768"});
    EXPECT_EQ(result.error, CommandLineError::None);
    EXPECT_EQ(result.settings.width, 1024);
    EXPECT_EQ(result.settings.height, 768);
    EXPECT_FALSE(result.settings.fullScreen);
}

TEST(CommandLine, ThirdArgumentOneRequestsFullScreen)
{
    const CommandLineResult result = parse({"1024", "768", "1"});
    EXPECT_EQ(result.error, CommandLineError::None);
    EXPECT_EQ(result.settings.width, 1024);
    EXPECT_EQ(result.settings.height, 768);
    EXPECT_TRUE(result.settings.fullScreen);
}

TEST(CommandLine, ThirdArgumentZeroKeepsTheWindow)
{
    const CommandLineResult result = parse({"1024", "768", "0"});
    EXPECT_EQ(result.error, CommandLineError::None);
    EXPECT_FALSE(result.settings.fullScreen);
}

TEST(CommandLine, ArgumentsAfterTheThirdAreIgnored)
{
    const CommandLineResult result = parse({"640", "480", "1", "garbage", "-x"});
    EXPECT_EQ(result.error, CommandLineError::None);
    EXPECT_EQ(result.settings.width, 640);
    EXPECT_EQ(result.settings.height, 480);
    EXPECT_TRUE(result.settings.fullScreen);
}

// An integer argument is read like a stream extraction: leading white space is
// skipped and reading stops at the first character not belonging to the number.
struct IntegerCase {
    const char* text;
    int value;
};

std::ostream& operator<<(std::ostream& os, const IntegerCase& c)
{
    return os << '"' << c.text << "\" -> " << c.value;
}

class IntegerArgument : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerArgument, ParsesAsWidth)
{
    const CommandLineResult result = parse({GetParam().text, "600"});
    EXPECT_EQ(result.error, CommandLineError::None);
    EXPECT_EQ(result.settings.width, GetParam().value);
    EXPECT_EQ(result.settings.height, 600);
}

TEST_P(IntegerArgument, ParsesAsHeight)
{
    const CommandLineResult result = parse({"800", GetParam().text});
    EXPECT_EQ(result.error, CommandLineError::None);
    EXPECT_EQ(result.settings.width, 800);
    EXPECT_EQ(result.settings.height, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(CommandLine, IntegerArgument,
                         ::testing::Values(IntegerCase{"1024", 1024},
                                           IntegerCase{"  800x", 800}, // blanks, trailing junk
                                           IntegerCase{"800x600", 800},
                                           IntegerCase{"-5", -5}, // negative parses
                                           IntegerCase{"+7", 7}, // explicit sign
                                           IntegerCase{"0x10", 0}, // decimal only
                                           IntegerCase{"12.5", 12}, // fraction dropped
                                           IntegerCase{"\t42", 42}, IntegerCase{"2147483647", 2147483647},
                                           IntegerCase{"-2147483648", -2147483647 - 1}));

class BadIntegerArgument : public ::testing::TestWithParam<const char*> {};

TEST_P(BadIntegerArgument, FailsAsFirstArgument)
{
    const CommandLineResult result = parse({GetParam(), "600"});
    EXPECT_EQ(result.error, CommandLineError::FirstArgument);
}

TEST_P(BadIntegerArgument, FailsAsSecondArgument)
{
    const CommandLineResult result = parse({"800", GetParam()});
    EXPECT_EQ(result.error, CommandLineError::SecondArgument);
}

INSTANTIATE_TEST_SUITE_P(CommandLine, BadIntegerArgument,
                         ::testing::Values("abc", "", "   ", "x800", "-", "4294967296", "2147483648",
                                           "-2147483649", "99999999999999999999"));

TEST(CommandLine, BadFirstArgumentStopsBeforeTheSecondIsRead)
{
    // The second argument is an invalid pointer: reading it would blow up.
    const char* argv[] = {"velorun", "abc", nullptr, nullptr};
    const CommandLineResult result = parseCommandLine(3, argv);
    EXPECT_EQ(result.error, CommandLineError::FirstArgument);
}

TEST(CommandLine, BadFirstArgumentWinsOverABadSecond)
{
    EXPECT_EQ(parse({"abc", "def"}).error, CommandLineError::FirstArgument);
    EXPECT_EQ(parse({"abc", "def", "yes"}).error, CommandLineError::FirstArgument);
}

TEST(CommandLine, BadSecondArgumentWinsOverABadThird)
{
    EXPECT_EQ(parse({"800", "def", "yes"}).error, CommandLineError::SecondArgument);
}

TEST(CommandLine, BadSecondArgumentStopsBeforeTheThirdIsRead)
{
    const char* argv[] = {"velorun", "800", "abc", nullptr, nullptr};
    const CommandLineResult result = parseCommandLine(4, argv);
    EXPECT_EQ(result.error, CommandLineError::SecondArgument);
}

// The flag is a boolean in numeric form: only 0 and 1 succeed.
struct FlagCase {
    const char* text;
    bool fullScreen;
};

std::ostream& operator<<(std::ostream& os, const FlagCase& c)
{
    return os << '"' << c.text << "\" -> " << c.fullScreen;
}

class GoodFlag : public ::testing::TestWithParam<FlagCase> {};

TEST_P(GoodFlag, Parses)
{
    const CommandLineResult result = parse({"800", "600", GetParam().text});
    EXPECT_EQ(result.error, CommandLineError::None);
    EXPECT_EQ(result.settings.fullScreen, GetParam().fullScreen);
}

INSTANTIATE_TEST_SUITE_P(CommandLine, GoodFlag,
                         ::testing::Values(FlagCase{"0", false}, FlagCase{"1", true}, FlagCase{" 1", true},
                                           FlagCase{"1x", true}));

class BadFlag : public ::testing::TestWithParam<const char*> {};

TEST_P(BadFlag, IsTheThirdArgumentError)
{
    const CommandLineResult result = parse({"1024", "768", GetParam()});
    EXPECT_EQ(result.error, CommandLineError::ThirdArgument);
}

INSTANTIATE_TEST_SUITE_P(CommandLine, BadFlag, ::testing::Values("2", "yes", "true", "-1", "", " ", "x1"));

// --help, -h and --version count only as the whole first argument; with
// anything else the settings are read exactly as before.
TEST(CommandLine, OnlyAWholeFirstArgumentAsksAQuestion)
{
    using Args = std::vector<const char*>;
    const std::pair<CommandLineQuery, std::vector<Args>> groups[] = {
        {CommandLineQuery::Help, {{"--help"}, {"-h"}, {"--help", "1"}, {"-h", "abc", "600"}}},
        {CommandLineQuery::Version, {{"--version"}, {"--version", "800", "600", "1"}}},
        {CommandLineQuery::None, {{"abc"}, {"800", "--help"}, {"abc", "--version"}, {"--HELP"}, {"-help"}}},
        {CommandLineQuery::None, {{"--help=1"}, {" --help"}, {"--versions"}, {"-v"}, {"-V"}, {"-"}, {}}},
    };
    for (const auto& [expected, lists] : groups) {
        for (Args argv : lists) {
            const std::string shown = ::testing::PrintToString(argv);
            argv.insert(argv.begin(), "velorun");
            const int argc = static_cast<int>(argv.size());
            argv.push_back(nullptr);
            EXPECT_EQ(commandLineQuery(argc, argv.data()), expected) << shown;
        }
    }
}

} // namespace
} // namespace velorun
