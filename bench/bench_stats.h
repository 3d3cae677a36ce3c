#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <vector>

// Order statistics of a benchmark's samples. Medians and percentiles rather than means, because a shared
// machine adds the odd long stall that would drag a mean along.
namespace bench {

// The value below which the given fraction of the samples lies (nearest rank); 0 for no samples.
inline double percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const double rank = std::ceil(fraction * static_cast<double>(samples.size()));
    const std::size_t index = rank < 1 ? 0 : static_cast<std::size_t>(rank) - 1;
    return samples[std::min(index, samples.size() - 1)];
}

// The middle sample, or the mean of the two middle ones; 0 for no samples.
inline double median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// Milliseconds since the start, by the steady clock.
inline double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// One row of a table: what was measured, its median, 10th and 90th percentile, and the unit.
inline void printPercentileRow(const char* what, const std::vector<double>& samples, const char* unit) {
    std::printf("  %-52s %10.1f %10.1f %10.1f  %s\n", what, median(samples), percentile(samples, 0.1),
                percentile(samples, 0.9), unit);
}

}  // namespace bench
