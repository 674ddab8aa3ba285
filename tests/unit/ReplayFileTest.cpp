// Replay files that cannot be played are refused with a reason, whatever is
// wrong with them and wherever they are cut; nothing is allocated for what a
// damaged header claims.
#include "app/ReplayFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

namespace velorun {
namespace {

std::string validFile()
{
    std::string bytes;
    writeReplayHeader(bytes, ReplayHeader{"1.0.0", "test build", LaunchSettings{800, 600, false}, 2});
    input::FrameInput first{
        0.5, input::keyBit(GLFW_KEY_UP) | input::keyBit(GLFW_KEY_RIGHT), 0, {GLFW_KEY_F3}};
    input::FrameInput second{
        0.75, 0, input::keyBit(input::startButtonKey), {input::startButtonKey, GLFW_KEY_R}};
    writeReplayFrame(bytes, ReplayFrame{first, std::nullopt});
    writeReplayFrame(bytes, ReplayFrame{second, 0xdeadbeef});
    writeReplayEnd(bytes, 2, 0x01020304);
    return bytes;
}

// Byte offsets in validFile(): the header is 8 + 2 + 6 + 11 + 4 + 4 + 1 + 2.
constexpr std::size_t versionAt = 8;
constexpr std::size_t buildLengthAt = 16;
constexpr std::size_t widthAt = 27;
constexpr std::size_t fullScreenAt = 35;
constexpr std::size_t firstFrameAt = 38;
constexpr std::size_t pressCountAt = firstFrameAt + 10; // after its kind, keys and clock

void putU32At(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

struct BadFile {
    const char* name;
    std::function<void(std::string&)> damage;
    const char* reason;
};

void PrintTo(const BadFile& c, std::ostream* os) { *os << c.name; }

class BadReplayFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadReplayFile, IsRefusedWithItsReason)
{
    std::string bytes = validFile();
    GetParam().damage(bytes);
    const ReplayReading reading = readReplay(bytes);
    EXPECT_FALSE(reading.replay);
    EXPECT_EQ(reading.error, GetParam().reason);
}

std::string randomBytes()
{
    std::mt19937 generator(7);
    std::string bytes(4096, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator());
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadReplayFile,
    ::testing::Values(
        BadFile{"Empty", [](std::string& b) { b.clear(); }, "it is empty"},
        BadFile{"RandomBytes", [](std::string& b) { b = randomBytes(); }, "it is not a Velorun recording"},
        BadFile{"ShorterThanTheMark", [](std::string& b) { b.resize(5); }, "it is not a Velorun recording"},
        BadFile{"WrongMark", [](std::string& b) { b[0] = 'X'; }, "it is not a Velorun recording"},
        BadFile{"NewerFormat", [](std::string& b) { b[versionAt] = 9; },
                "it was recorded by a newer Velorun (recording format 9; this one plays format 2)"},
        BadFile{"BuildLongerThanTheFile", [](std::string& b) { b[buildLengthAt] = '\xff'; },
                "its header is damaged (build)"},
        BadFile{"EmptyBuild", [](std::string& b) { b[buildLengthAt] = 0; }, "its header is damaged (build)"},
        BadFile{"ZeroWidth", [](std::string& b) { putU32At(b, widthAt, 0); },
                "its window size 0 x 600 is not one the game opens"},
        BadFile{"NegativeWidth", [](std::string& b) { putU32At(b, widthAt, 0xfffffffbu); },
                "its window size -5 x 600 is not one the game opens"},
        BadFile{"FullScreenTwo", [](std::string& b) { b[fullScreenAt] = 2; },
                "its full-screen flag 2 is neither 0 nor 1"},
        BadFile{"UnknownRecord", [](std::string& b) { b[firstFrameAt] = 3; }, "frame 1 is damaged"},
        BadFile{"AbsurdPressCount", [](std::string& b) { b[pressCountAt] = '\xc8'; },
                "frame 1 is damaged (presses)"},
        BadFile{"UnknownPress", [](std::string& b) { b[pressCountAt + 1] = input::pressKeys.size(); },
                "frame 1 is damaged (presses)"},
        BadFile{"StartOnTheKeyboard", [](std::string& b) { b[firstFrameAt + 1] = 0x20; },
                "frame 1 is damaged (keys)"},
        BadFile{"ClockGoesBack",
                [](std::string& b) {
                    std::string earlier;
                    ReplayFrame frame;
                    frame.input.now = 0.25;
                    writeReplayFrame(earlier, frame);
                    b.insert(b.size() - 9, earlier);
                    putU32At(b, b.size() - 8, 3);
                },
                "frame 3 is damaged (clock)"},
        BadFile{"CountDisagrees", [](std::string& b) { putU32At(b, b.size() - 8, 1000000); },
                "its end counts 1000000 frames, but it holds 2"},
        BadFile{"DataAfterTheEnd", [](std::string& b) { b += "x"; }, "it goes on after its end"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

TEST(ReplayFile, ReadsBackWhatWasWrittenAndRefusesEveryCut)
{
    const std::string bytes = validFile();
    const ReplayReading whole = readReplay(bytes);
    ASSERT_TRUE(whole.replay) << whole.error;
    ASSERT_EQ(whole.replay->frames.size(), 2u);
    EXPECT_EQ(whole.replay->frames[1].input,
              (input::FrameInput{
                  0.75, 0, input::keyBit(input::startButtonKey), {input::startButtonKey, GLFW_KEY_R}}));
    EXPECT_EQ(whole.replay->frames[1].check, 0xdeadbeef);
    EXPECT_EQ(whole.replay->finalCheck, 0x01020304u);

    for (std::size_t length = 1; length < bytes.size(); ++length) {
        const ReplayReading cut = readReplay(std::string_view(bytes).substr(0, length));
        EXPECT_FALSE(cut.replay) << "cut to " << length << " bytes";
        EXPECT_FALSE(cut.error.empty());
    }
}

} // namespace
} // namespace velorun
