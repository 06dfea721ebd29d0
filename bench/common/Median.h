#pragma once

#include <algorithm>
#include <ctime>
#include <vector>

namespace benchgen {

// The middle of the measured times: one slow run on a shared machine does not move it.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// The time this thread ran on a processor: on a shared machine steadier than the wall clock.
inline double threadCpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

} // namespace benchgen
