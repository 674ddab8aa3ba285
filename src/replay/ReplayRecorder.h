#pragma once

#include "replay/ReplayFile.h"

#include <cstdio>
#include <string>

namespace velorun {

// Writes a session to a file as it is played: every frame's input, with a
// check of the run's state every few frames. Each frame is handed to the
// operating system as it ends, so a game that crashes or is killed leaves
// every frame it finished on disk. A file that cannot be written is reported
// once; the game plays on without recording.
class ReplayRecorder {
public:
    ReplayRecorder() = default;
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // Creates the file (replacing one that is there) and writes its header.
    void start(const std::string& path, const ReplayHeader& header);

    // One frame that ran, told at its end, and written; the run's state is
    // checked every header.checkInterval frames.
    void record(const input::FrameInput& input);

    // Writes the end, with the state the session ended in, and closes the
    // file.
    void finish();

    bool recording() const { return file_ != nullptr; }

private:
    void writeOut();
    void fail();

    std::string path_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
    std::uintmax_t written_ = 0; // bytes of whole records on disk
    std::uint32_t frames_ = 0;
    std::uint16_t checkInterval_ = 1;
    RecordedSize size_; // what the file says so far of the framebuffer
};

} // namespace velorun
