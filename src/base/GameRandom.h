#pragma once

#include <array>
#include <cstdint>

namespace velorun {

// The game's own pseudo-random numbers: the additive feedback generator
// behind glibc's rand(), started where a program that never seeds it starts.
// Its draws are those of rand() % 32768 on glibc, on every platform, and
// nothing else in the process (a library, the GL driver) can take one from
// it, so a run is decided by its inputs alone.
class GameRandom {
public:
    GameRandom();

    // The next number, 0 to 32767.
    int draw();

    // The state the next draws follow from, for the run's state check: the
    // table of the last 31 sums and where the next one goes.
    const std::array<std::uint32_t, 31>& table() const { return table_; }
    int front() const { return front_; }

private:
    std::uint32_t next();

    std::array<std::uint32_t, 31> table_{};
    int front_ = 3;
    int rear_ = 0;
};

} // namespace velorun
