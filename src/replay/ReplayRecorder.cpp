#include "replay/ReplayRecorder.h"

#include "replay/RunChecksum.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace velorun {

ReplayRecorder::~ReplayRecorder()
{
    if (file_)
        std::fclose(file_);
}

void ReplayRecorder::start(const std::string& path, const ReplayHeader& header)
{
    path_ = path;
    checkInterval_ = header.checkInterval;
    size_ = RecordedSize{header.window.width, header.window.height};
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_)
        return fail();
    writeReplayHeader(buffer_, header);
    writeOut();
}

void ReplayRecorder::record(const input::FrameInput& input)
{
    if (!file_)
        return;
    ReplayFrame frame{input, std::nullopt};
    ++frames_;
    if (frames_ % checkInterval_ == 0)
        frame.check = runChecksum();
    writeReplayFrame(buffer_, frame, size_);
    writeOut();
}

void ReplayRecorder::finish()
{
    if (!file_)
        return;
    writeReplayEnd(buffer_, frames_, runChecksum());
    writeOut();
    if (!file_)
        return;
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0)
        fail();
}

void ReplayRecorder::writeOut()
{
    // One write a frame: a crash or a kill after it keeps the frame.
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size() || std::fflush(file_) != 0)
        return fail();
    written_ += buffer_.size();
    buffer_.clear();
}

void ReplayRecorder::fail()
{
    std::cerr << "Cannot record to " << path_ << ": " << std::strerror(errno)
              << "; playing on without recording" << std::endl;
    if (file_) {
        std::fclose(file_);
        // A disk that filled up in the middle of a record keeps the whole
        // records before it, which still play.
        std::error_code ignored;
        std::filesystem::resize_file(path_, written_, ignored);
    }
    file_ = nullptr;
    buffer_.clear();
    buffer_.shrink_to_fit();
}

} // namespace velorun
