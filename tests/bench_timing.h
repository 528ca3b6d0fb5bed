// The benchmarks' one clock: mean microseconds per call of `work(i)` over `iterations` calls.
#pragma once
#include <chrono>

template <typename Work>
double MicrosecondsPerCall(int iterations, Work work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < iterations; ++i) work(i);
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / iterations;
}
