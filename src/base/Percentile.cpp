#include "base/Percentile.h"

#include <algorithm>
#include <cstddef>

namespace velorun {

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    const std::size_t at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    const auto nth = values.begin() + static_cast<std::ptrdiff_t>(std::min(at, values.size() - 1));
    std::nth_element(values.begin(), nth, values.end());
    return *nth;
}

} // namespace velorun
