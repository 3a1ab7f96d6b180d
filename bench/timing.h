// Wall-clock timing for the benchmarks: every figure is the median of several
// runs, so one disturbed run (another build on the machine, a page-cache miss)
// does not move it.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

inline double NowMs() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Runs body once to warm caches, then `runs` times; the median time in ms.
template <typename Body>
double MedianMs(int runs, Body&& body) {
  body();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = NowMs();
    body();
    times.push_back(NowMs() - start);
  }
  return Median(times);
}

// One figure a line, "name: value", for scripts/bench to collect.
inline void Report(const char* name, double value, const char* unit) {
  std::printf("%s: %.3f %s\n", name, value, unit);
  std::fflush(stdout);
}

}  // namespace bench
