#include "replay/ReplayPlayer.h"

#include "game/FrameSeam.h"
#include "input/Gamepad.h"
#include "input/PressQueue.h"
#include "replay/RunChecksum.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <cstdio>

namespace velorun {

ReplayPlayer::ReplayPlayer(const std::string& path, ReplaySummary summary, Pace pace)
    : summary_(std::move(summary)), pace_(pace), file_(path, std::ios::binary), reader_(file_)
{
    ReplayHeader header;
    if (!reader_.readHeader(header))
        readError_ = reader_.error();
    readNext();
}

void ReplayPlayer::install(GLFWwindow* window)
{
    window_ = window;
    seam.now = [this] { return now(); };
    seam.readInput = [this](GLFWwindow* w, input::FrameInput& in) { readInput(w, in); };
    // A paused frame of the recording waits for its clock reading like any other.
    seam.waitForInput = [] { glfwPollEvents(); };
    seam.toggleFullScreen = nullptr;
    seam.frameDone = [this](const input::FrameInput&) { frameDone(); };
}

void ReplayPlayer::readNext()
{
    pending_.reset();
    if (!readError_.empty())
        return;
    ReplayFrame frame;
    switch (reader_.next(frame)) {
    case ReplayReader::Record::Frame:
        pending_ = std::move(frame);
        break;
    case ReplayReader::Record::End:
        finalCheck_ = reader_.finalCheck();
        endRead_ = true;
        break;
    case ReplayReader::Record::Unended:
        break;
    case ReplayReader::Record::Refused:
        readError_ = reader_.error();
        break;
    }
}

bool ReplayPlayer::playerWantsOut()
{
    if (stoppedByPlayer_ || !window_)
        return stoppedByPlayer_;
    // A tap of Escape can begin and end within one wait for events: the key
    // handler keeps it.
    const bool escapeTapped = input::escapePending();
    GLFWgamepadstate pad = input::restingGamepad();
    stoppedByPlayer_ = glfwWindowShouldClose(window_) || escapeTapped ||
                       glfwGetKey(window_, GLFW_KEY_ESCAPE) == GLFW_PRESS ||
                       (input::readFirstGamepad(pad) && input::gamepadHoldsKey(pad, GLFW_KEY_ESCAPE));
    return stoppedByPlayer_;
}

double ReplayPlayer::now()
{
    if (!pending_)
        return lastClock_;
    const double due = pending_->input.now;
    if (pace_ == Pace::Recorded) {
        // Waits on events, so that Escape or closing the window stops even a
        // replay that waits long.
        for (double left = due - glfwGetTime(); left > 0.0 && !playerWantsOut(); left = due - glfwGetTime())
            glfwWaitEventsTimeout(std::min(left, pausedGamepadInterval));
    }
    // A player who left before the frame's time gets one more frame, with no
    // time passing and Escape alone, which ends the game; the recorded frame
    // is not played.
    stopping_ = playerWantsOut();
    return stopping_ ? lastClock_ : due;
}

void ReplayPlayer::readInput(GLFWwindow*, input::FrameInput& in)
{
    const bool out = playerWantsOut();
    // The player's presses belong to no recorded frame.
    input::clearPendingPresses();
    const double clock = in.now;
    const input::FrameInput live = in;
    in = pending_ && !stopping_ ? pending_->input : input::FrameInput{};
    in.now = clock;
    // The window follows the recorded size; the frame draws at it either way.
    // (A file from before sizes were kept leaves the window's own.)
    if (in.width > 0 && in.height > 0 && window_ && (in.width != live.width || in.height != live.height))
        glfwSetWindowSize(window_, in.width, in.height);
    if (out)
        in.keyboard |= input::keyBit(GLFW_KEY_ESCAPE);
}

void ReplayPlayer::frameDone()
{
    if (!pending_ || stopping_)
        return;
    const std::optional<std::uint32_t> check = pending_->check;
    lastClock_ = pending_->input.now;
    ++played_;
    if (check)
        compare(*check);
    readNext();
}

void ReplayPlayer::checkEnd()
{
    // (Only an end read now: the check may have seen one the file no longer has.)
    if (finished() && !stoppedByPlayer_ && endRead_ && readError_.empty())
        compare(finalCheck_);
}

void ReplayPlayer::compare(std::uint32_t recorded)
{
    if (firstDifference_)
        return;
    if (recorded == runChecksum())
        lastMatch_ = played_;
    else
        firstDifference_ = played_;
}

std::string ReplayPlayer::verdict() const
{
    // A file still being written, or edited, may differ from what the check
    // before the first frame read: the verdict is about what was played.
    std::string changed;
    if (finished() && !stoppedByPlayer_ &&
        (!readError_.empty() || played_ != summary_.frames || endRead_ != summary_.ended))
        changed = "; the file changed after it was checked, when it held " + std::to_string(summary_.frames) +
                  (summary_.ended ? " frames and its end" : " frames without an end");
    const std::string played = std::to_string(played_);
    const std::string all = std::to_string(frameCount());
    if (firstDifference_)
        return "the state differs from the recording at frame " + std::to_string(*firstDifference_) +
               " (it still matched at frame " + std::to_string(lastMatch_) + "); " + played + " of " + all +
               " frames played" + changed;
    if (!readError_.empty())
        return "it could not be read on after frame " + played + " (" + readError_ + ")" + changed;
    if (stoppedByPlayer_ || !finished())
        return "stopped after " + played + " of " + all + " frames; every state check so far matched";
    if (!endRead_)
        return "the recording stops at frame " + all +
               " without its end (the game crashed or was killed there); every state check up to it matched" +
               changed;
    return all + " frames played; every state check matched" + changed;
}

std::string timedemoSummary(const FrameTimes& frames)
{
    if (frames.count() == 0)
        return "timedemo: 0 frames";
    const double seconds = frames.sumMs() / 1000.0;
    char line[256];
    std::snprintf(line, sizeof line,
                  "timedemo: %zu frames, %.3f seconds, %.1f fps; frame time min %.2f / median %.2f / "
                  "95th %.2f / max %.2f ms",
                  frames.count(), seconds,
                  seconds > 0.0 ? static_cast<double>(frames.count()) / seconds : 0.0, frames.minMs(),
                  frames.percentile(0.5), frames.percentile(0.95), frames.maxMs());
    return line;
}

} // namespace velorun
