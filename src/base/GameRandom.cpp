#include "base/GameRandom.h"

namespace velorun {

GameRandom::GameRandom()
{
    // Seeded with 1 by the Park-Miller step, kept within 31 bits without
    // overflow (Schrage's method), then run on past its first 310 sums.
    std::int32_t word = 1;
    table_[0] = 1;
    for (std::size_t i = 1; i < table_.size(); ++i) {
        const std::int32_t high = word / 127773;
        const std::int32_t low = word % 127773;
        word = 16807 * low - 2836 * high;
        if (word < 0)
            word += 2147483647;
        table_[i] = static_cast<std::uint32_t>(word);
    }
    for (int i = 0; i < 310; ++i)
        next();
}

std::uint32_t GameRandom::next()
{
    const std::size_t size = table_.size();
    table_[static_cast<std::size_t>(front_)] += table_[static_cast<std::size_t>(rear_)];
    const std::uint32_t result = table_[static_cast<std::size_t>(front_)] >> 1;
    front_ = static_cast<int>((static_cast<std::size_t>(front_) + 1) % size);
    rear_ = static_cast<int>((static_cast<std::size_t>(rear_) + 1) % size);
    return result;
}

int GameRandom::draw() { return static_cast<int>(next() % 32768u); }

} // namespace velorun
