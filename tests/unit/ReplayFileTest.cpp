// Replay files that cannot be played are refused with a reason, whatever is
// wrong with them and wherever they are cut; nothing is allocated for what a
// damaged header claims.
#include "replay/ReplayFile.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sys/resource.h>

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
    RecordedSize size{800, 600};
    writeReplayFrame(bytes, ReplayFrame{first, std::nullopt}, size);
    writeReplayFrame(bytes, ReplayFrame{second, 0xdeadbeef}, size);
    writeReplayEnd(bytes, 2, 0x01020304);
    return bytes;
}

// Byte offsets in validFile(): the header is 8 + 2 + 6 + 11 + 4 + 4 + 1 + 2.
constexpr std::size_t versionAt = 8;
constexpr std::size_t buildLengthAt = 16;
constexpr std::size_t widthAt = 27;
constexpr std::size_t fullScreenAt = 35;
constexpr std::size_t checkIntervalAt = 36;
constexpr std::size_t firstFrameAt = 38;
constexpr std::size_t clockAt = firstFrameAt + 2; // after its kind and keys
constexpr std::size_t pressCountAt = firstFrameAt + 10; // after its kind, keys and clock
constexpr std::size_t secondFrameAt = pressCountAt + 2; // after one press
constexpr std::size_t gamepadAt = secondFrameAt + 10;
constexpr std::size_t endAt = gamepadAt + 4 + 4; // after two presses and a check

// `count` frames from clock `first` on, `step` apart, the first of `width` x 10.
std::string framesFrom(double first, int count, int width = -1, double step = 0.0)
{
    std::string bytes;
    RecordedSize size{800, 600};
    for (int i = 0; i < count; ++i) {
        ReplayFrame frame{input::FrameInput{first + step * i, 0, 0, {}, i == 0 ? width : -1, 10},
                          std::nullopt};
        writeReplayFrame(bytes, frame, size);
    }
    return bytes;
}

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
                "it was recorded by a newer Velorun (recording format 9; this one plays formats 3 to 4)"},
        BadFile{"OlderFormat", [](std::string& b) { b[versionAt] = 2; },
                "it was recorded by an older Velorun (recording format 2; this one plays formats 3 to 4)"},
        BadFile{"FormatZero", [](std::string& b) { b[versionAt] = 0; }, "it is not a Velorun recording"},
        BadFile{"BuildLongerThanTheFile", [](std::string& b) { b[buildLengthAt] = '\xff'; },
                "its header is damaged (build)"},
        BadFile{"EmptyBuild", [](std::string& b) { b[buildLengthAt] = 0; }, "its header is damaged (build)"},
        BadFile{"ZeroWidth", [](std::string& b) { putU32At(b, widthAt, 0); },
                "its window size 0 x 600 is not one the game opens"},
        BadFile{"NegativeWidth", [](std::string& b) { putU32At(b, widthAt, 0xfffffffbu); },
                "its window size -5 x 600 is not one the game opens"},
        BadFile{"WidthAboveTheLimit", [](std::string& b) { putU32At(b, widthAt, 16385); },
                "its window size 16385 x 600 is not one the game opens"},
        BadFile{"FullScreenTwo", [](std::string& b) { b[fullScreenAt] = 2; },
                "its full-screen flag 2 is neither 0 nor 1"},
        BadFile{"NoStateChecks", [](std::string& b) { b[checkIntervalAt] = 0; },
                "its header is damaged (state checks)"},
        BadFile{"NoFrames", [](std::string& b) { b.resize(firstFrameAt); }, "it holds no frames"},
        BadFile{"AnEndAndNoFrames",
                [](std::string& b) {
                    b.resize(firstFrameAt);
                    writeReplayEnd(b, 0, 0);
                },
                "it holds no frames"},
        BadFile{"UnknownKindBits", [](std::string& b) { b[firstFrameAt] = 1 | 64; }, "frame 1 is damaged"},
        BadFile{"SizeInFormat3",
                [](std::string& b) {
                    b[versionAt] = 3;
                    b.insert(endAt, framesFrom(1.0, 1, 100));
                },
                "frame 3 is damaged"},
        BadFile{"SizeAboveTheLimit",
                [](std::string& b) {
                    std::string frame = framesFrom(1.0, 1, 100);
                    frame.replace(frame.size() - 4, 2, "\x01\x40"); // 16385
                    b.insert(endAt, frame);
                },
                "frame 3 is damaged (size)"},
        BadFile{"HeightAboveTheLimit", [](std::string& b) { putU32At(b, widthAt + 4, 16385); },
                "its window size 800 x 16385 is not one the game opens"},
        BadFile{"VersionLongerThanItsLimit",
                [](std::string& b) {
                    b[versionAt + 2] = 33;
                    b.insert(versionAt + 3, std::string(28, '1'));
                },
                "its header is damaged (version)"},
        // A day on at every frame, past the clock's cap.
        BadFile{"ClockBeyondAnySession",
                [](std::string& b) {
                    b.resize(firstFrameAt);
                    b += framesFrom(maxReplayFrameGap, 11575, -1, maxReplayFrameGap);
                },
                "frame 11575 is damaged (clock)"},
        BadFile{"UnknownRecord", [](std::string& b) { b[firstFrameAt] = 3; }, "frame 1 is damaged"},
        BadFile{"AbsurdPressCount", [](std::string& b) { b[pressCountAt] = '\xc8'; },
                "frame 1 is damaged (presses)"},
        BadFile{"UnknownPress", [](std::string& b) { b[pressCountAt + 1] = input::pressKeys.size(); },
                "frame 1 is damaged (presses)"},
        BadFile{"NoPresses", [](std::string& b) { b[pressCountAt] = 0; }, "frame 1 is damaged (presses)"},
        BadFile{"StartOnTheKeyboard", [](std::string& b) { b[firstFrameAt + 1] = 0x20; },
                "frame 1 is damaged (keys)"},
        BadFile{"GamepadHoldingNothing", [](std::string& b) { b[gamepadAt] = 0; }, "frame 2 is damaged (keys)"},
        BadFile{"ClockNotANumber",
                [](std::string& b) {
                    const double notANumber = std::nan("");
                    std::memcpy(&b[clockAt], &notANumber, sizeof notANumber);
                },
                "frame 1 is damaged (clock)"},
        BadFile{"ClockMoreThanADayOn",
                [](std::string& b) {
                    const double later = 0.5 + maxReplayFrameGap + 1.0;
                    std::memcpy(&b[secondFrameAt + 2], &later, sizeof later);
                },
                "frame 2 is damaged (clock)"},
        BadFile{"ClockGoesBack",
                [](std::string& b) {
                    b.insert(b.size() - 9, framesFrom(0.25, 1));
                    putU32At(b, b.size() - 8, 3);
                },
                "frame 3 is damaged (clock)"},
        BadFile{"CountDisagrees", [](std::string& b) { putU32At(b, b.size() - 8, 1000000); },
                "its end counts 1000000 frames, but it holds 2"},
        BadFile{"DataAfterTheEnd", [](std::string& b) { b += "x"; }, "it goes on after its end"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

// A file cut after a whole frame is what a crashed or killed game leaves: it
// reads up to there. Cut anywhere else, it is refused.
TEST(ReplayFile, ReadsBackWhatWasWrittenAndPlaysACutOnlyToAWholeFrame)
{
    const std::string bytes = validFile();
    ASSERT_EQ(bytes.size(), endAt + 9);
    const ReplayReading whole = readReplay(bytes);
    ASSERT_TRUE(whole.replay) << whole.error;
    ASSERT_EQ(whole.replay->frames.size(), 2u);
    EXPECT_TRUE(whole.replay->ended);
    EXPECT_EQ(
        whole.replay->frames[1].input,
        (input::FrameInput{
            0.75, 0, input::keyBit(input::startButtonKey), {input::startButtonKey, GLFW_KEY_R}, 800, 600}));
    EXPECT_EQ(whole.replay->frames[1].check, 0xdeadbeef);
    EXPECT_EQ(whole.replay->finalCheck, 0x01020304u);
    std::string wide = bytes; // a window wider than a recording keeps: kept at the widest
    wide.insert(endAt, framesFrom(1.0, 1, 20000));
    putU32At(wide, wide.size() - 8, 3);
    EXPECT_EQ(readReplay(wide).replay.value().frames.at(2).input.width, 16384);

    for (std::size_t length = 1; length < bytes.size(); ++length) {
        const ReplayReading cut = readReplay(std::string_view(bytes).substr(0, length));
        const std::size_t wholeFrames = length == secondFrameAt ? 1 : length == endAt ? 2 : 0;
        if (wholeFrames > 0) {
            ASSERT_TRUE(cut.replay) << "cut after frame " << wholeFrames << ": " << cut.error;
            EXPECT_FALSE(cut.replay->ended);
            EXPECT_EQ(cut.replay->frames.size(), wholeFrames);
        } else {
            EXPECT_FALSE(cut.replay) << "cut to " << length << " bytes";
            EXPECT_FALSE(cut.error.empty());
        }
    }
}

// What only a file on disk can show: one too large is refused before it is
// read, one that cannot be read says so.
TEST(ReplayFile, RefusesAFileTooLargeOrUnreadableBeforeReadingIt)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "velorun-replay-file-test";
    std::filesystem::create_directories(dir);
    const std::filesystem::path huge = dir / "huge.vrr";
    std::ofstream(huge, std::ios::binary) << validFile();
    std::filesystem::resize_file(huge, maxReplayFileBytes + 1); // sparse: nothing is written
    EXPECT_EQ(checkReplayFile(huge.string()).error, "it is larger than any recording (1073741825 bytes)");
    EXPECT_EQ(checkReplayFile(dir.string()).error, "it cannot be read (Is a directory)");
    std::filesystem::resize_file(huge, validFile().size());
    EXPECT_TRUE(checkReplayFile(huge.string()).summary);
    std::filesystem::remove_all(dir);
}

// A file that cannot be written is reported once, where it failed, and the
// game plays on without it.
TEST(ReplayRecorder, ReportsOnceWhereTheFileCouldNotBeWritten)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "velorun-recorder-test";
    std::filesystem::create_directories(dir);
    const ReplayHeader header{"1.0.0", "test build", LaunchSettings{}, 1000}; // frames of ten bytes
    const input::FrameInput frame{0.5, 0, 0, {}};
    auto record = [&](const std::string& path, int frames) {
        testing::internal::CaptureStderr();
        ReplayRecorder recorder;
        recorder.start(path, header);
        for (int i = 0; i < frames; ++i)
            recorder.record(frame);
        recorder.finish();
        return testing::internal::GetCapturedStderr();
    };
    const std::string noFolder = (dir / "missing" / "s.vrr").string();
    EXPECT_EQ(record(noFolder, 3),
              "Cannot record to " + noFolder + ": No such file or directory; playing on without recording\n");
    EXPECT_EQ(record("/dev/full", 3),
              "Cannot record to /dev/full: No space left on device; playing on without recording\n");

    // A file that fills up in the middle of frame 101 keeps the 100 before
    // it, whole: the game that filled it up plays on.
    const std::string full = (dir / "full.vrr").string();
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{firstFrameAt + 100 * 10 + 5, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string report = record(full, 200);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(report, "Cannot record to " + full + ": File too large; playing on without recording\n");
    const ReplayCheck check = checkReplayFile(full);
    ASSERT_TRUE(check.summary) << check.error;
    EXPECT_EQ(check.summary->frames, 100u);
    EXPECT_FALSE(check.summary->ended);
    std::filesystem::remove_all(dir);
}

// The timedemo's line from frame times kept in fixed memory: 0.01 ms bins
// below a second, 10 ms bins to 100 s, the longest beyond.
TEST(FrameTimes, TimedemoLineAtItsResolution)
{
    const struct {
        std::vector<double> ms;
        const char* line;
    } cases[] = {
        {{}, "timedemo: 0 frames"},
        {{-1.0}, // no clock runs back; were one to, it would count in the first bin
         "timedemo: 1 frames, -0.001 seconds, 0.0 fps; "
         "frame time min -1.00 / median -1.00 / 95th -1.00 / max -1.00 ms"},
        {{4.0, 1.0, 3.0, 2.0},
         "timedemo: 4 frames, 0.010 seconds, 400.0 fps; "
         "frame time min 1.00 / median 3.00 / 95th 4.00 / max 4.00 ms"},
        {{0.004, 0.006, 0.014}, // rounded to the bin: 0, 0.01, 0.01
         "timedemo: 3 frames, 0.000 seconds, 125000.0 fps; "
         "frame time min 0.00 / median 0.01 / 95th 0.01 / max 0.01 ms"},
        {{1234.0, 5.0, 200000.0}, // a 10 ms bin, and the longest beyond 100 s
         "timedemo: 3 frames, 201.239 seconds, 0.0 fps; "
         "frame time min 5.00 / median 1230.00 / 95th 200000.00 / max 200000.00 ms"},
    };
    for (const auto& c : cases) {
        FrameTimes times;
        for (double ms : c.ms)
            times.add(ms);
        EXPECT_EQ(timedemoSummary(times), c.line);
    }
}

} // namespace
} // namespace velorun
