// The Wine benchmarks' clock and summary: milliseconds from the performance counter, and the
// median of a run's figures.
#pragma once
#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench_clock {

inline double Now() {
  LARGE_INTEGER counter, frequency;
  ::QueryPerformanceCounter(&counter);
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench_clock
