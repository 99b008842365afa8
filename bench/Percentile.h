#pragma once
// The share-th quantile of a benchmark's timings (0.5 the median, 1 the worst), the nearest
// rank below.

#include <algorithm>
#include <cstddef>
#include <vector>

inline double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(share * static_cast<double>(values.size() - 1))];
}
