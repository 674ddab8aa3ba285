#include "app/ReplayPlayer.h"

#include "app/FrameSeam.h"
#include "app/GameState.h"
#include "app/RunChecksum.h"
#include "input/Gamepad.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <cstdio>
#include <numeric>

namespace velorun {

namespace {

bool playerWantsOut(GLFWwindow* window)
{
    if (glfwGetKey(window, GLFW_KEY_ESCAPE) == GLFW_PRESS)
        return true;
    GLFWgamepadstate pad = input::restingGamepad();
    return input::readFirstGamepad(pad) && input::gamepadHoldsKey(pad, GLFW_KEY_ESCAPE);
}

} // namespace

ReplayPlayer::ReplayPlayer(Replay replay, Pace pace) : replay_(std::move(replay)), pace_(pace) {}

void ReplayPlayer::install(GLFWwindow* window)
{
    window_ = window;
    FrameSeam& seam = frameSeam();
    seam.now = [this] { return now(); };
    seam.readKeys = [this](GLFWwindow* w, input::FrameInput& in) { readKeys(w, in); };
    // A paused frame of the recording waits for its clock reading like any other.
    seam.waitForInput = [] { glfwPollEvents(); };
    seam.toggleFullScreen = nullptr;
    seam.frameDone = [this](const input::FrameInput&) { frameDone(); };
}

double ReplayPlayer::now()
{
    if (finished())
        return replay_.frames.empty() ? 0.0 : replay_.frames.back().input.now;
    const double due = replay_.frames[next_].input.now;
    if (pace_ == Pace::Recorded) {
        // Waits on events, so Escape still stops a replay that waits long.
        for (double left = due - glfwGetTime(); left > 0.0 && !playerWantsOut(window_);
             left = due - glfwGetTime())
            glfwWaitEventsTimeout(std::min(left, pausedGamepadInterval));
    }
    return due;
}

void ReplayPlayer::readKeys(GLFWwindow* window, input::FrameInput& in)
{
    // The player's presses belong to no recorded frame.
    pendingPresses.clear();
    const double clock = in.now;
    in = replay_.frames[std::min(next_, replay_.frames.size() - 1)].input;
    in.now = clock;
    if (playerWantsOut(window) && !in.held(GLFW_KEY_ESCAPE)) {
        in.keyboard |= input::keyBit(GLFW_KEY_ESCAPE);
        stoppedByPlayer_ = true;
    }
}

void ReplayPlayer::frameDone()
{
    if (finished())
        return;
    const ReplayFrame& frame = replay_.frames[next_];
    ++next_;
    if (frame.check)
        compare(*frame.check);
}

void ReplayPlayer::checkEnd()
{
    if (finished() && !stoppedByPlayer_)
        compare(replay_.finalCheck);
}

void ReplayPlayer::compare(std::uint32_t recorded)
{
    if (firstDifference_)
        return;
    if (recorded == runChecksum())
        lastMatch_ = next_;
    else
        firstDifference_ = next_;
}

std::string ReplayPlayer::verdict() const
{
    const std::string played = std::to_string(next_);
    const std::string all = std::to_string(frameCount());
    if (firstDifference_)
        return "the state differs from the recording at frame " + std::to_string(*firstDifference_) +
               " (it still matched at frame " + std::to_string(lastMatch_) + "); " + played + " of " + all +
               " frames played";
    if (stoppedByPlayer_ || !finished())
        return "stopped after " + played + " of " + all + " frames; every state check so far matched";
    return all + " frames played; every state check matched";
}

std::string timedemoSummary(const std::vector<double>& frameMs)
{
    if (frameMs.empty())
        return "timedemo: 0 frames";
    std::vector<double> sorted = frameMs;
    std::sort(sorted.begin(), sorted.end());
    const auto at = [&sorted](double p) {
        return sorted[static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5)];
    };
    const double seconds = std::accumulate(sorted.begin(), sorted.end(), 0.0) / 1000.0;
    char line[256];
    std::snprintf(line, sizeof line,
                  "timedemo: %zu frames, %.3f seconds, %.1f fps; frame time min %.2f / median %.2f / "
                  "95th %.2f / max %.2f ms",
                  sorted.size(), seconds, seconds > 0.0 ? static_cast<double>(sorted.size()) / seconds : 0.0,
                  sorted.front(), at(0.5), at(0.95), sorted.back());
    return line;
}

} // namespace velorun
