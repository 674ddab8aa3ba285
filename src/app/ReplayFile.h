#pragma once

#include "app/CommandLine.h"
#include "input/FrameInput.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A recorded session: what every frame read of the player, from start-up to
// exit, with a check of the run's state every few frames. The game is
// deterministic (the C library's generator is never seeded and everything
// moves by the recorded clock), so feeding the frames back replays the
// session exactly on the same build.
//
// The file, all numbers little-endian:
//   header  "VELOREPL", u16 format version, u8 length + game version,
//           u8 length + build, i32 width, i32 height, u8 full screen,
//           u16 frames between state checks
//   frame   u8 kind 1 | 4 gamepad | 8 presses | 16 check, u8 keyboard keys,
//           f64 clock, [u8 gamepad keys], [u8 count, count x u8 press],
//           [u32 state check]
//   end     u8 kind 2, u32 frame count, u32 state check at the end
// Keys are bits over input::heldKeys, presses indices into input::pressKeys.
namespace velorun {

// Format 2 added the presses of F11 and of the focus going (the last two of
// input::pressKeys); a format 1 file reads as one of format 2 without them.
constexpr std::uint16_t replayFormatVersion = 2;

// Larger files are refused before anything is read: a minute of play at a
// thousand frames a second takes well under a megabyte.
constexpr std::uintmax_t maxReplayFileBytes = std::uintmax_t{1} << 30;

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

struct Replay {
    ReplayHeader header;
    std::vector<ReplayFrame> frames;
    std::uint32_t finalCheck = 0; // the run's state when the session ended
};

// Appends the parts of a file to `out`, in this order: the header once, a
// record per frame, the end once.
void writeReplayHeader(std::string& out, const ReplayHeader& header);
void writeReplayFrame(std::string& out, const ReplayFrame& frame);
void writeReplayEnd(std::string& out, std::uint32_t frameCount, std::uint32_t finalCheck);

// A file read back, or why it cannot be replayed (a phrase that follows the
// file's name: "it is cut short").
struct ReplayReading {
    std::optional<Replay> replay;
    std::string error;
};

// Reads a whole file's bytes. Anything the writer would not have written is
// refused: nothing is taken on trust, and nothing is allocated for what a
// header claims, only for records actually there.
ReplayReading readReplay(std::string_view bytes);

// Reads the file at `path` and then its bytes.
ReplayReading readReplayFile(const std::string& path);

} // namespace velorun
