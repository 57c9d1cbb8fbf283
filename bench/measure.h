// What the benchmarks measure with: processor time of the thread and of the
// process, the machine's load, and the median and 99th percentile.
#pragma once

#include <time.h>

#include <algorithm>
#include <fstream>
#include <vector>

namespace pelmot::bench {

inline double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

inline double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The one-minute load average: other work on the machine inflates wall time.
inline double LoadAverage() {
  std::ifstream file("/proc/loadavg");
  double oneMinute = -1;
  file >> oneMinute;
  return oneMinute;
}

struct Spread {
  double median = 0;
  double p99 = 0;
};

// Of samples (not empty).
inline Spread SpreadOf(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return {samples[samples.size() / 2], samples[std::min(samples.size() - 1, samples.size() * 99 / 100)]};
}

}  // namespace pelmot::bench
