#pragma once

#include "base/FrameTimes.h"
#include "replay/ReplayFile.h"

#include <cstddef>
#include <fstream>
#include <optional>
#include <string>

struct GLFWwindow;

namespace velorun {

// Feeds a recorded session back through the frame seam: each frame gets the
// recorded clock reading and input, and the run's state is checked against
// the recording wherever it holds a check. The frames are read from the file
// one at a time as they are played. The player's own keys are ignored but for
// Escape (or a gamepad's Back), which stops the replay, as closing the window
// does, at once, also while a frame waits for its time.
class ReplayPlayer {
public:
    enum class Pace {
        Recorded, // each frame waits for its recorded clock reading
        Unpaced, // no waiting: a timedemo
    };

    // Plays the file at `path`, which checkReplayFile found to hold `summary`.
    ReplayPlayer(const std::string& path, ReplaySummary summary, Pace pace);

    // Puts the player into the frame seam for the game's `window`.
    void install(GLFWwindow* window);

    // Every recorded frame has run.
    bool finished() const { return !pending_; }

    // After the last frame: compares the state the session ended in.
    void checkEnd();

    std::size_t framesPlayed() const { return played_; }
    // The frames the file holds: as read to its end while playing, else as
    // the check before found them.
    std::size_t frameCount() const { return finished() ? played_ : summary_.frames; }
    // The first frame (counted from 1) after which the state differed.
    std::optional<std::size_t> firstDifference() const { return firstDifference_; }
    bool stoppedByPlayer() const { return stoppedByPlayer_; }
    // Every state check that came matched, and the file read on to the end.
    bool matched() const { return !firstDifference_ && readError_.empty(); }

    // How the replay went, in a phrase: the frames played, and whether every
    // state check matched or where the state first differed; and, where the
    // file read while playing is not the one checked before, what it was then.
    std::string verdict() const;

private:
    bool playerWantsOut();
    void readInput(GLFWwindow* window, input::FrameInput& in);
    double now();
    void frameDone();
    void readNext();
    void compare(std::uint32_t recorded);

    ReplaySummary summary_;
    Pace pace_;
    std::ifstream file_;
    ReplayReader reader_;
    std::optional<ReplayFrame> pending_; // the frame to play next
    std::uint32_t finalCheck_ = 0;
    bool endRead_ = false; // the file's end record, with finalCheck_
    std::string readError_; // the file changed since it was checked
    double lastClock_ = 0.0;
    GLFWwindow* window_ = nullptr;
    std::size_t played_ = 0;
    std::optional<std::size_t> firstDifference_;
    std::size_t lastMatch_ = 0; // the last checked frame that matched, 0 for none
    bool stoppedByPlayer_ = false;
    bool stopping_ = false; // this frame only ends the game
};

// The line benchmark suites read after a timedemo: frames, seconds, frames
// per second and the frame times' minimum, median, 95th percentile and
// maximum, from each frame's wall time (the median and 95th percentile to
// FrameTimes' resolution, 0.01 ms below a second).
std::string timedemoSummary(const FrameTimes& frames);

} // namespace velorun
