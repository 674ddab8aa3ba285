#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velorun {

// Frame times in milliseconds, in the same memory however many frames come:
// counts in bins 0.01 ms wide below one second and 10 ms wide from there to
// 100 s, with anything longer in one last bin. The count, the sum, the
// shortest and the longest are kept exactly; a percentile is the value of its
// bin (each time rounded to the bin's width), kept within the shortest and
// the longest.
class FrameTimes {
public:
    static constexpr double fineWidthMs = 0.01;
    static constexpr double coarseFromMs = 1000.0;
    static constexpr double coarseWidthMs = 10.0;
    static constexpr double lastBinFromMs = 100000.0;

    FrameTimes();

    void add(double ms);

    std::size_t count() const { return count_; }
    double sumMs() const { return sum_; }
    double minMs() const { return min_; }
    double maxMs() const { return max_; }
    // The value at fraction `p` (0 to 1) of the times in order, the nearest
    // one, as percentile() takes it from a list; 0 when there are none.
    double percentile(double p) const;

private:
    std::vector<std::uint32_t> bins_;
    std::size_t count_ = 0;
    double sum_ = 0.0;
    double min_ = 0.0;
    double max_ = 0.0;
};

} // namespace velorun
