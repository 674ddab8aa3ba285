#pragma once

#include <cstdint>

namespace velorun {

// A fingerprint of what a session's outcome is made of: the car's place and
// speed, the score, every obstacle's place, game over, the pause and the best
// score. Two runs fed the same input agree on it frame by frame; the first
// frame where they do not is where a replay left its recording.
std::uint32_t runChecksum();

} // namespace velorun
