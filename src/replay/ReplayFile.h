#pragma once

#include "game/LaunchSettings.h"
#include "input/FrameInput.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A recorded session: what every frame read of the player, from start-up to
// exit, with a check of the run's state every few frames. The game is
// deterministic (its generator is its own and everything moves by the
// recorded clock), so feeding the frames back replays the session exactly on
// the same build.
//
// The file, all numbers little-endian:
//   header  "VELOREPL", u16 format version, u8 length + game version,
//           u8 length + build, i32 width, i32 height, u8 full screen,
//           u16 frames between state checks
//   frame   u8 kind 1 | 4 gamepad | 8 presses | 16 check | 32 size,
//           u8 keyboard keys, f64 clock, [u8 gamepad keys],
//           [u8 count, count x u8 press], [u32 state check],
//           [u16 width, u16 height]
//   end     u8 kind 2, u32 frame count, u32 state check at the end
// Keys are bits over input::heldKeys, presses indices into input::pressKeys.
// A frame holds the framebuffer's size where it differs from the frame
// before's (the header's window size before the first frame); a replay draws
// every frame at its size.
// A session that crashed or was killed leaves a file that stops after its
// last whole frame, without the end: it plays up to there.
namespace velorun {

// Format 2 added the presses of F11 and of the focus going (the last two of
// input::pressKeys); format 3 checks the timers and the generator's state as
// well, so the checks of older files mean something else; format 4 keeps the
// window's size changes. Format 3 files still play, each frame at the size of
// the window that plays it.
constexpr std::uint16_t replayFormatVersion = 4;
constexpr std::uint16_t oldestReplayFormat = 3;

// Larger files are refused before anything is read. A frame takes about ten
// bytes: this is more than a day of play at a thousand frames a second.
constexpr std::uintmax_t maxReplayFileBytes = std::uintmax_t{1} << 30;

// The most a frame's clock may run ahead of the one before: a file that asks
// for a longer wait is damaged.
constexpr double maxReplayFrameGap = 24.0 * 60.0 * 60.0;

struct ReplayHeader {
    std::string gameVersion;
    std::string build; // which binary recorded it
    LaunchSettings window;
    std::uint16_t checkInterval = 8; // frames between state checks
};

struct ReplayFrame {
    input::FrameInput input;
    std::optional<std::uint32_t> check; // the run's state after this frame
};

// The framebuffer size the frame records so far leave a reader with: a
// frame writes its own where it differs. It starts as the header's window
// size; -1 where none is known.
struct RecordedSize {
    int width = -1;
    int height = -1;
};

// Appends the parts of a file to `out`, in this order: the header once, a
// record per frame, the end once.
void writeReplayHeader(std::string& out, const ReplayHeader& header);
void writeReplayFrame(std::string& out, const ReplayFrame& frame, RecordedSize& size);
void writeReplayEnd(std::string& out, std::uint32_t frameCount, std::uint32_t finalCheck);

// Reads a file record by record from a stream, holding no more than the
// record at hand. Anything the writer would not have written is refused with
// a phrase that follows the file's name ("it is cut short"): nothing is
// taken on trust, and nothing is allocated for what a record claims.
class ReplayReader {
public:
    explicit ReplayReader(std::istream& in);

    // The header; false when the file is refused (error()).
    bool readHeader(ReplayHeader& header);

    enum class Record {
        Frame, // the next frame, read into `frame`
        End, // the end, which agrees with the frames before it (finalCheck())
        Unended, // the file stops after a whole frame, without its end
        Refused, // error() says why
    };
    // The record after the header or the previous frame.
    Record next(ReplayFrame& frame);

    std::size_t framesRead() const { return frames_; }
    std::uint32_t finalCheck() const { return finalCheck_; }
    const std::string& error() const { return error_; }

private:
    bool failed() const { return !error_.empty(); }
    void fail(std::string why);
    bool atEnd();
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    double f64();
    std::string text(std::size_t maxLength, const char* what);
    bool readFrame(std::uint8_t kind, ReplayFrame& frame);

    std::streambuf* in_;
    bool empty_ = true; // no byte read yet
    std::size_t frames_ = 0;
    std::uint16_t version_ = replayFormatVersion;
    RecordedSize size_; // the last frame's, from format 4 on
    double clock_ = 0.0; // the last frame's
    std::uint32_t finalCheck_ = 0;
    std::string error_;
};

// What a whole file holds, found in one pass that keeps none of its frames:
// all a player needs before its first frame.
struct ReplaySummary {
    ReplayHeader header;
    std::size_t frames = 0;
    bool ended = true; // false: it stops without its end, where the game crashed or was killed
};

struct ReplayCheck {
    std::optional<ReplaySummary> summary;
    std::string error; // why it cannot be played, when it cannot
};

// Reads the file at `path` through, or says why it cannot be replayed.
ReplayCheck checkReplayFile(const std::string& path);

// A whole recording in memory, for tools and tests that edit small files.
struct Replay {
    ReplayHeader header;
    std::vector<ReplayFrame> frames;
    std::uint32_t finalCheck = 0; // the run's state when the session ended
    bool ended = true;
};

struct ReplayReading {
    std::optional<Replay> replay;
    std::string error;
};

ReplayReading readReplay(std::string_view bytes);

} // namespace velorun
