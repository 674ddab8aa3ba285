#pragma once

#include <cstdint>

namespace velorun {

// A fingerprint of what a session's outcome is made of: the car's place and
// speed, the score, every obstacle's place, game over, the pause, the best
// score, and what the frames to come follow from, the spawn and speed-up
// timers and the generator's state. Two runs fed the same input agree on it
// frame by frame; the first frame where they do not is where a replay left
// its recording, named at the next check even when the difference would show
// only seconds later.
std::uint32_t runChecksum();

} // namespace velorun
