// Wall-clock timing for the benchmarks: every figure is the median of several
// runs, so one disturbed run (another build on the machine, a page-cache miss)
// does not move it.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
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

// Runs every body once to warm caches, then `runs` rounds of all bodies in turn,
// so that a busy spell of the machine falls on all of them alike; the median
// time of each body in ms, in the order given.
inline std::vector<double> MedianMsInterleaved(int runs,
                                               const std::vector<std::function<void()>>& bodies) {
  for (const auto& body : bodies) body();
  std::vector<std::vector<double>> times(bodies.size());
  for (int i = 0; i < runs; ++i) {
    for (size_t b = 0; b < bodies.size(); ++b) {
      const double start = NowMs();
      bodies[b]();
      times[b].push_back(NowMs() - start);
    }
  }
  std::vector<double> medians;
  for (auto& t : times) medians.push_back(Median(t));
  return medians;
}

// One figure a line, "name: value", for scripts/bench to collect.
inline void Report(const char* name, double value, const char* unit) {
  std::printf("%s: %.3f %s\n", name, value, unit);
  std::fflush(stdout);
}

}  // namespace bench
