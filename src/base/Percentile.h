#pragma once

#include <vector>

namespace velorun {

// The value at fraction `p` (0 to 1) of `values` in order, the nearest one
// (p = 0.5 the median, 1 the largest); 0 when there are none.
double percentile(std::vector<double> values, double p);

} // namespace velorun
