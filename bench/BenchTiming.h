#pragma once

// The timing every benchmark shares: medians, so that one slow run on a
// loaded machine does not move a figure.

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

// The median of the values (the mean of the middle two of an even count);
// 0 without values.
inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t half = values.size() / 2;
    return values.size() % 2 != 0 ? values[half] : (values[half - 1] + values[half]) / 2;
}

// Runs the work `runs` times and gives the median time in milliseconds.
template <class F>
double MedianMilliseconds(int runs, F&& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    return Median(std::move(times));
}

}  // namespace bench
