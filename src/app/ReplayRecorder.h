#pragma once

#include "app/ReplayFile.h"

#include <cstdio>
#include <string>

namespace velorun {

// Writes a session to a file as it is played: every frame's input, with a
// check of the run's state every few frames. The frames are kept in memory
// and written out every few seconds and at the end, so recording costs a
// frame next to nothing. A file that cannot be written is reported once;
// the game plays on without recording.
class ReplayRecorder {
public:
    ReplayRecorder() = default;
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // Creates the file (replacing one that is there) and writes its header.
    void start(const std::string& path, const ReplayHeader& header);

    // One frame that ran, told at its end; the run's state is checked every
    // header.checkInterval frames.
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
    std::uint32_t frames_ = 0;
    std::uint16_t checkInterval_ = 1;
    double lastWrite_ = 0.0;
};

// Seconds of the game's clock between two writes of a recording.
constexpr double recordingWriteInterval = 2.0;

} // namespace velorun
