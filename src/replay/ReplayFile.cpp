#include "replay/ReplayFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <new>
#include <streambuf>
#include <system_error>

namespace velorun {

namespace {

constexpr char magic[8] = {'V', 'E', 'L', 'O', 'R', 'E', 'P', 'L'};

// The first byte of a record: its kind and what follows.
constexpr unsigned kindFrame = 1;
constexpr unsigned kindEnd = 2;
constexpr unsigned kindMask = 3;
constexpr unsigned hasGamepad = 4;
constexpr unsigned hasPresses = 8;
constexpr unsigned hasCheck = 16;
constexpr unsigned hasSize = 32;

constexpr std::size_t maxVersionLength = 32;
constexpr std::size_t maxBuildLength = 200;
constexpr int maxWindowSide = 16384;
// Far beyond any session, yet small enough that waiting for it is absurd.
constexpr double maxClock = 1.0e9;
// A keyboard has no Start button.
constexpr unsigned keyboardKeys = input::allHeldKeys & ~unsigned{input::keyBit(input::startButtonKey)};

void putU8(std::string& out, unsigned value) { out.push_back(static_cast<char>(value & 0xffu)); }

void putU16(std::string& out, std::uint16_t value)
{
    putU8(out, value);
    putU8(out, value >> 8u);
}

void putU32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        putU8(out, value >> shift);
}

void putF64(std::string& out, double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 64; shift += 8)
        putU8(out, static_cast<unsigned>(bits >> shift));
}

void putText(std::string& out, const std::string& text, std::size_t maxLength)
{
    const std::size_t length = std::min(text.size(), maxLength);
    putU8(out, static_cast<unsigned>(length));
    out.append(text, 0, length);
}

} // namespace

void writeReplayHeader(std::string& out, const ReplayHeader& header)
{
    out.append(magic, sizeof magic);
    putU16(out, replayFormatVersion);
    putText(out, header.gameVersion, maxVersionLength);
    putText(out, header.build, maxBuildLength);
    putU32(out, static_cast<std::uint32_t>(header.window.width));
    putU32(out, static_cast<std::uint32_t>(header.window.height));
    putU8(out, header.window.fullScreen ? 1u : 0u);
    putU16(out, header.checkInterval);
}

void writeReplayFrame(std::string& out, const ReplayFrame& frame, RecordedSize& size)
{
    const input::FrameInput& input = frame.input;
    const std::size_t presses = std::min(input.presses.size(), input::maxPressesPerFrame);
    const bool resized = input.width >= 0 && (input.width != size.width || input.height != size.height);
    putU8(out, kindFrame | (input.gamepad ? hasGamepad : 0u) | (presses ? hasPresses : 0u) |
                   (frame.check ? hasCheck : 0u) | (resized ? hasSize : 0u));
    putU8(out, input.keyboard & keyboardKeys);
    putF64(out, input.now);
    if (input.gamepad)
        putU8(out, input.gamepad);
    if (presses) {
        putU8(out, static_cast<unsigned>(presses));
        for (std::size_t i = 0; i < presses; ++i)
            putU8(out, static_cast<unsigned>(input::pressCode(input.presses[i])));
    }
    if (frame.check)
        putU32(out, *frame.check);
    if (resized) {
        putU16(out, static_cast<std::uint16_t>(std::clamp(input.width, 0, maxWindowSide)));
        putU16(out, static_cast<std::uint16_t>(std::clamp(input.height, 0, maxWindowSide)));
        size = RecordedSize{input.width, input.height};
    }
}

void writeReplayEnd(std::string& out, std::uint32_t frameCount, std::uint32_t finalCheck)
{
    putU8(out, kindEnd);
    putU32(out, frameCount);
    putU32(out, finalCheck);
}

ReplayReader::ReplayReader(std::istream& in) : in_(in.rdbuf()) {}

void ReplayReader::fail(std::string why)
{
    if (error_.empty())
        error_ = std::move(why);
}

bool ReplayReader::atEnd() { return !in_ || in_->sgetc() == std::streambuf::traits_type::eof(); }

std::uint8_t ReplayReader::u8()
{
    if (failed())
        return 0;
    const int c = in_ ? in_->sbumpc() : std::streambuf::traits_type::eof();
    if (c == std::streambuf::traits_type::eof()) {
        fail("it is cut short");
        return 0;
    }
    empty_ = false;
    return static_cast<std::uint8_t>(c);
}

std::uint16_t ReplayReader::u16()
{
    const unsigned low = u8();
    return static_cast<std::uint16_t>(low | (unsigned{u8()} << 8u));
}

std::uint32_t ReplayReader::u32()
{
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8)
        value |= std::uint32_t{u8()} << shift;
    return value;
}

double ReplayReader::f64()
{
    std::uint64_t bits = 0;
    for (int shift = 0; shift < 64; shift += 8)
        bits |= std::uint64_t{u8()} << shift;
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Printable ASCII of 1 to maxLength characters.
std::string ReplayReader::text(std::size_t maxLength, const char* what)
{
    const std::size_t length = u8();
    std::string out;
    for (std::size_t i = 0; i < length && !failed(); ++i) {
        const std::uint8_t c = u8();
        if (c < 0x20 || c > 0x7e)
            fail(std::string("its header is damaged (") + what + ")");
        out.push_back(static_cast<char>(c));
    }
    if (!failed() && (length == 0 || length > maxLength))
        fail(std::string("its header is damaged (") + what + ")");
    return out;
}

bool ReplayReader::readHeader(ReplayHeader& header)
{
    if (atEnd()) {
        fail("it is empty");
        return false;
    }
    for (char expected : magic) {
        const int c = in_->sbumpc();
        if (c != static_cast<unsigned char>(expected)) {
            fail("it is not a Velorun recording");
            return false;
        }
    }
    const std::uint16_t version = u16();
    if (failed())
        return false;
    if (version == 0) {
        fail("it is not a Velorun recording");
        return false;
    }
    if (version < oldestReplayFormat || version > replayFormatVersion) {
        fail(std::string("it was recorded by ") + (version > replayFormatVersion ? "a newer" : "an older") +
             " Velorun (recording format " + std::to_string(version) + "; this one plays formats " +
             std::to_string(oldestReplayFormat) + " to " + std::to_string(replayFormatVersion) + ")");
        return false;
    }
    version_ = version;
    header.gameVersion = text(maxVersionLength, "version");
    header.build = text(maxBuildLength, "build");
    header.window.width = static_cast<std::int32_t>(u32());
    header.window.height = static_cast<std::int32_t>(u32());
    const std::uint8_t fullScreen = u8();
    header.checkInterval = u16();
    if (failed())
        return false;
    const LaunchSettings& w = header.window;
    if (w.width < 1 || w.width > maxWindowSide || w.height < 1 || w.height > maxWindowSide)
        fail("its window size " + std::to_string(w.width) + " x " + std::to_string(w.height) +
             " is not one the game opens");
    else if (fullScreen > 1)
        fail("its full-screen flag " + std::to_string(fullScreen) + " is neither 0 nor 1");
    else if (header.checkInterval == 0)
        fail("its header is damaged (state checks)");
    header.window.fullScreen = fullScreen == 1;
    if (version_ >= 4)
        size_ = RecordedSize{w.width, w.height};
    return !failed();
}

// One frame's record after its kind byte; false once the file is refused.
bool ReplayReader::readFrame(std::uint8_t kind, ReplayFrame& frame)
{
    const std::string name = "frame " + std::to_string(frames_ + 1);
    const unsigned known = kindMask | hasGamepad | hasPresses | hasCheck | (version_ >= 4 ? hasSize : 0u);
    if ((kind & kindMask) != kindFrame || (kind & ~known)) {
        fail(name + " is damaged");
        return false;
    }
    frame = ReplayFrame{};
    input::FrameInput& input = frame.input;
    input.keyboard = u8();
    input.now = f64();
    if (kind & hasGamepad)
        input.gamepad = u8();
    if (kind & hasPresses) {
        const std::size_t count = u8();
        if (!failed() && (count == 0 || count > input::maxPressesPerFrame))
            fail(name + " is damaged (presses)");
        for (std::size_t i = 0; i < count && !failed(); ++i) {
            const std::size_t code = u8();
            if (failed())
                break;
            if (code >= input::pressKeys.size())
                fail(name + " is damaged (presses)");
            else
                input.presses.push_back(input::pressKeys[code].key);
        }
    }
    if (kind & hasCheck)
        frame.check = u32();
    if (kind & hasSize) {
        const int width = u16();
        const int height = u16();
        if (!failed() && (width > maxWindowSide || height > maxWindowSide))
            fail(name + " is damaged (size)");
        size_ = RecordedSize{width, height};
    }
    input.width = size_.width;
    input.height = size_.height;
    if (failed())
        return false;
    if ((input.keyboard & ~keyboardKeys) || (input.gamepad & ~input::allHeldKeys) ||
        ((kind & hasGamepad) && input.gamepad == 0))
        fail(name + " is damaged (keys)");
    else if (!std::isfinite(input.now) || input.now < clock_ || input.now - clock_ > maxReplayFrameGap ||
             input.now > maxClock)
        fail(name + " is damaged (clock)");
    return !failed();
}

ReplayReader::Record ReplayReader::next(ReplayFrame& frame)
{
    if (failed())
        return Record::Refused;
    if (atEnd()) {
        if (frames_ == 0) {
            fail("it holds no frames");
            return Record::Refused;
        }
        return Record::Unended;
    }
    const std::uint8_t kind = u8();
    if (kind == kindEnd) {
        const std::uint32_t count = u32();
        finalCheck_ = u32();
        if (failed())
            return Record::Refused;
        if (count != frames_)
            fail("its end counts " + std::to_string(count) + " frames, but it holds " +
                 std::to_string(frames_));
        else if (!atEnd())
            fail("it goes on after its end");
        else if (frames_ == 0)
            fail("it holds no frames");
        return failed() ? Record::Refused : Record::End;
    }
    if (!readFrame(kind, frame))
        return Record::Refused;
    clock_ = frame.input.now;
    ++frames_;
    return Record::Frame;
}

namespace {

// Reads `in` through; the frames go to `keep` and the end's check to
// `finalCheck` when they are given.
ReplayCheck readThrough(std::istream& in, std::vector<ReplayFrame>* keep, std::uint32_t* finalCheck)
{
    ReplayReader reader(in);
    ReplaySummary summary;
    if (!reader.readHeader(summary.header))
        return {std::nullopt, reader.error()};
    ReplayFrame frame;
    for (;;) {
        const ReplayReader::Record record = reader.next(frame);
        if (record == ReplayReader::Record::Refused)
            return {std::nullopt, reader.error()};
        if (record == ReplayReader::Record::Frame) {
            if (keep)
                keep->push_back(std::move(frame));
            continue;
        }
        summary.ended = record == ReplayReader::Record::End;
        if (finalCheck)
            *finalCheck = reader.finalCheck();
        summary.frames = reader.framesRead();
        return {summary, ""};
    }
}

// A stream over bytes already in memory, without copying them.
class BytesBuffer : public std::streambuf {
public:
    explicit BytesBuffer(std::string_view bytes)
    {
        char* begin = const_cast<char*>(bytes.data());
        setg(begin, begin, begin + bytes.size());
    }
};

} // namespace

ReplayCheck checkReplayFile(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return {std::nullopt, "it cannot be read (" + error.message() + ")"};
    if (size > maxReplayFileBytes)
        return {std::nullopt, "it is larger than any recording (" + std::to_string(size) + " bytes)"};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {std::nullopt, std::string("it cannot be read (") + std::strerror(errno) + ")"};
    try {
        return readThrough(file, nullptr, nullptr);
    } catch (const std::bad_alloc&) {
        return {std::nullopt, "it cannot be read (out of memory)"};
    }
}

ReplayReading readReplay(std::string_view bytes)
{
    BytesBuffer buffer(bytes);
    std::istream in(&buffer);
    Replay replay;
    std::uint32_t finalCheck = 0;
    ReplayCheck check = readThrough(in, &replay.frames, &finalCheck);
    if (!check.summary)
        return {std::nullopt, check.error};
    replay.header = std::move(check.summary->header);
    replay.ended = check.summary->ended;
    replay.finalCheck = finalCheck;
    return {std::move(replay), ""};
}

} // namespace velorun
