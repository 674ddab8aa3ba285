#include "base/FrameTimes.h"

#include <algorithm>
#include <cmath>

namespace velorun {

namespace {

constexpr std::size_t fineBins = static_cast<std::size_t>(FrameTimes::coarseFromMs / FrameTimes::fineWidthMs);
constexpr std::size_t coarseBins = static_cast<std::size_t>(
    (FrameTimes::lastBinFromMs - FrameTimes::coarseFromMs) / FrameTimes::coarseWidthMs);
constexpr std::size_t lastBin = fineBins + coarseBins;

std::size_t binOf(double ms)
{
    if (!(ms > 0.0)) // also NaN
        return 0;
    const double fine = std::round(ms / FrameTimes::fineWidthMs);
    if (fine < static_cast<double>(fineBins))
        return static_cast<std::size_t>(fine);
    const double coarse = std::round((ms - FrameTimes::coarseFromMs) / FrameTimes::coarseWidthMs);
    if (coarse < static_cast<double>(coarseBins))
        return fineBins + static_cast<std::size_t>(coarse);
    return lastBin;
}

double valueOf(std::size_t bin)
{
    if (bin < fineBins)
        return static_cast<double>(bin) * FrameTimes::fineWidthMs;
    return FrameTimes::coarseFromMs + static_cast<double>(bin - fineBins) * FrameTimes::coarseWidthMs;
}

} // namespace

FrameTimes::FrameTimes() : bins_(lastBin + 1, 0) {}

void FrameTimes::add(double ms)
{
    ++bins_[binOf(ms)];
    min_ = count_ == 0 ? ms : std::min(min_, ms);
    max_ = count_ == 0 ? ms : std::max(max_, ms);
    sum_ += ms;
    ++count_;
}

double FrameTimes::percentile(double p) const
{
    if (count_ == 0)
        return 0.0;
    const std::size_t at =
        std::min(static_cast<std::size_t>(p * static_cast<double>(count_ - 1) + 0.5), count_ - 1);
    std::size_t seen = 0;
    for (std::size_t bin = 0; bin < bins_.size(); ++bin) {
        seen += bins_[bin];
        if (seen > at)
            return bin == lastBin ? max_ : std::clamp(valueOf(bin), min_, max_);
    }
    return max_;
}

} // namespace velorun
