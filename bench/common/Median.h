#pragma once

#include <algorithm>
#include <vector>

namespace benchgen {

// The middle of the measured times: one slow run on a shared machine does not move it.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

} // namespace benchgen
