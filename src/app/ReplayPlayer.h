#pragma once

#include "app/ReplayFile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct GLFWwindow;

namespace velorun {

// Feeds a recorded session back through the frame seam: each frame gets the
// recorded clock reading and input, and the run's state is checked against
// the recording wherever it holds a check. The player's own keys are ignored
// but for Escape (or a gamepad's Back), which stops the replay.
class ReplayPlayer {
public:
    enum class Pace {
        Recorded, // each frame waits for its recorded clock reading
        Unpaced, // no waiting: a timedemo
    };

    ReplayPlayer(Replay replay, Pace pace);

    // Puts the player into the frame seam for the game's `window`.
    void install(GLFWwindow* window);

    // Every recorded frame has run.
    bool finished() const { return next_ >= replay_.frames.size(); }

    // After the last frame: compares the state the session ended in.
    void checkEnd();

    std::size_t framesPlayed() const { return next_; }
    std::size_t frameCount() const { return replay_.frames.size(); }
    // The first frame (counted from 1) after which the state differed.
    std::optional<std::size_t> firstDifference() const { return firstDifference_; }
    bool stoppedByPlayer() const { return stoppedByPlayer_; }

    // How the replay went, in a phrase: the frames played, and whether every
    // state check matched or where the state first differed.
    std::string verdict() const;

private:
    void readKeys(GLFWwindow* window, input::FrameInput& in);
    double now();
    void frameDone();
    void compare(std::uint32_t recorded);

    Replay replay_;
    Pace pace_;
    GLFWwindow* window_ = nullptr;
    std::size_t next_ = 0;
    std::optional<std::size_t> firstDifference_;
    std::size_t lastMatch_ = 0; // the last checked frame that matched, 0 for none
    bool stoppedByPlayer_ = false;
};

// The line benchmark suites read after a timedemo: frames, seconds, frames
// per second and the frame times' minimum, median, 95th percentile and
// maximum, from each frame's wall time in milliseconds.
std::string timedemoSummary(const std::vector<double>& frameMs);

} // namespace velorun
