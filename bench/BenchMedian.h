#pragma once

// The middle of a benchmark's figures (the upper middle of an even count).
#include <algorithm>
#include <vector>

namespace bench {

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

}  // namespace bench
