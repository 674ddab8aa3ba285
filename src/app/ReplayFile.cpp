#include "app/ReplayFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
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

// Reads the file front to back; the first thing missing or wrong stops it.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    bool atEnd() const { return at_ == bytes_.size(); }

    // Whether the next bytes are `expected`, which are then passed over.
    bool skip(std::string_view expected)
    {
        if (bytes_.substr(at_, expected.size()) != expected)
            return false;
        at_ += expected.size();
        return true;
    }

    void fail(std::string why)
    {
        if (error_.empty())
            error_ = std::move(why);
    }

    std::uint8_t u8()
    {
        if (failed())
            return 0;
        if (at_ >= bytes_.size()) {
            fail("it is cut short");
            return 0;
        }
        return static_cast<std::uint8_t>(bytes_[at_++]);
    }
    std::uint16_t u16()
    {
        const unsigned low = u8();
        return static_cast<std::uint16_t>(low | (unsigned{u8()} << 8u));
    }
    std::uint32_t u32()
    {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8)
            value |= std::uint32_t{u8()} << shift;
        return value;
    }
    double f64()
    {
        std::uint64_t bits = 0;
        for (int shift = 0; shift < 64; shift += 8)
            bits |= std::uint64_t{u8()} << shift;
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Printable ASCII of 1 to maxLength characters.
    std::string text(std::size_t maxLength, const char* what)
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

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    std::string error_;
};

void readHeader(Reader& in, ReplayHeader& header)
{
    if (!in.skip(std::string_view(magic, sizeof magic)))
        return in.fail("it is not a Velorun recording");
    const std::uint16_t version = in.u16();
    if (!in.failed() && version > replayFormatVersion)
        return in.fail("it was recorded by a newer Velorun (recording format " + std::to_string(version) +
                       "; this one plays format " + std::to_string(replayFormatVersion) + ")");
    if (!in.failed() && version == 0)
        return in.fail("it is not a Velorun recording");
    header.gameVersion = in.text(maxVersionLength, "version");
    header.build = in.text(maxBuildLength, "build");
    header.window.width = static_cast<std::int32_t>(in.u32());
    header.window.height = static_cast<std::int32_t>(in.u32());
    const std::uint8_t fullScreen = in.u8();
    header.checkInterval = in.u16();
    if (in.failed())
        return;
    const LaunchSettings& w = header.window;
    if (w.width < 1 || w.width > maxWindowSide || w.height < 1 || w.height > maxWindowSide)
        return in.fail("its window size " + std::to_string(w.width) + " x " + std::to_string(w.height) +
                       " is not one the game opens");
    if (fullScreen > 1)
        return in.fail("its full-screen flag " + std::to_string(fullScreen) + " is neither 0 nor 1");
    header.window.fullScreen = fullScreen == 1;
    if (header.checkInterval == 0)
        in.fail("its header is damaged (state checks)");
}

// One frame's record after its kind byte; false once the file is refused.
bool readFrame(Reader& in, std::uint8_t kind, double previousClock, const std::string& name,
               ReplayFrame& frame)
{
    input::FrameInput& input = frame.input;
    input.keyboard = in.u8();
    input.now = in.f64();
    if (kind & hasGamepad)
        input.gamepad = in.u8();
    if (kind & hasPresses) {
        const std::size_t count = in.u8();
        if (count == 0 || count > input::maxPressesPerFrame)
            in.fail(name + " is damaged (presses)");
        for (std::size_t i = 0; i < count && !in.failed(); ++i) {
            const std::size_t code = in.u8();
            if (code >= input::pressKeys.size())
                in.fail(name + " is damaged (presses)");
            else
                input.presses.push_back(input::pressKeys[code]);
        }
    }
    if (kind & hasCheck)
        frame.check = in.u32();
    if (in.failed())
        return false;
    if ((input.keyboard & ~keyboardKeys) || (input.gamepad & ~input::allHeldKeys) ||
        ((kind & hasGamepad) && input.gamepad == 0))
        in.fail(name + " is damaged (keys)");
    else if (!std::isfinite(input.now) || input.now < previousClock || input.now > maxClock)
        in.fail(name + " is damaged (clock)");
    return !in.failed();
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

void writeReplayFrame(std::string& out, const ReplayFrame& frame)
{
    const input::FrameInput& input = frame.input;
    const std::size_t presses = std::min(input.presses.size(), input::maxPressesPerFrame);
    putU8(out, kindFrame | (input.gamepad ? hasGamepad : 0u) | (presses ? hasPresses : 0u) |
                   (frame.check ? hasCheck : 0u));
    putU8(out, input.keyboard & keyboardKeys);
    putF64(out, input.now);
    if (input.gamepad)
        putU8(out, input.gamepad);
    if (presses) {
        putU8(out, static_cast<unsigned>(presses));
        for (std::size_t i = 0; i < presses; ++i) {
            const auto* at = std::find(input::pressKeys.begin(), input::pressKeys.end(), input.presses[i]);
            putU8(out, static_cast<unsigned>(at - input::pressKeys.begin()));
        }
    }
    if (frame.check)
        putU32(out, *frame.check);
}

void writeReplayEnd(std::string& out, std::uint32_t frameCount, std::uint32_t finalCheck)
{
    putU8(out, kindEnd);
    putU32(out, frameCount);
    putU32(out, finalCheck);
}

ReplayReading readReplay(std::string_view bytes)
{
    if (bytes.empty())
        return {std::nullopt, "it is empty"};
    Reader in(bytes);
    Replay replay;
    readHeader(in, replay.header);
    double clock = 0.0;
    while (!in.failed()) {
        const std::uint8_t kind = in.u8();
        if (in.failed())
            break;
        if (kind == kindEnd) {
            const std::uint32_t count = in.u32();
            replay.finalCheck = in.u32();
            if (in.failed())
                break;
            if (count != replay.frames.size())
                in.fail("its end counts " + std::to_string(count) + " frames, but it holds " +
                        std::to_string(replay.frames.size()));
            else if (!in.atEnd())
                in.fail("it goes on after its end");
            else if (replay.frames.empty())
                in.fail("it holds no frames");
            break;
        }
        const std::string frameName = "frame " + std::to_string(replay.frames.size() + 1);
        if ((kind & kindMask) != kindFrame || (kind & ~(kindMask | hasGamepad | hasPresses | hasCheck))) {
            in.fail(frameName + " is damaged");
            break;
        }
        ReplayFrame frame;
        if (!readFrame(in, kind, clock, frameName, frame))
            break;
        clock = frame.input.now;
        replay.frames.push_back(std::move(frame));
    }
    if (in.failed())
        return {std::nullopt, in.error()};
    return {std::move(replay), ""};
}

ReplayReading readReplayFile(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return {std::nullopt, "it cannot be read (" + error.message() + ")"};
    if (size > maxReplayFileBytes)
        return {std::nullopt, "it is larger than any recording (" + std::to_string(size) + " bytes)"};
    std::ifstream file(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!file || !file.read(bytes.data(), static_cast<std::streamsize>(size)))
        return {std::nullopt, std::string("it cannot be read (") + std::strerror(errno) + ")"};
    return readReplay(bytes);
}

} // namespace velorun
