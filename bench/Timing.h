#pragma once

// The timing core of the benchmark. A row times its subject (A) and its
// floor (B) in alternating batches, A B A B ..., so that both see the same
// machine from moment to moment: a build starting on another core slows the
// pair it falls on, not all of A or all of B. Each batch gives CPU and wall
// time per operation; each pair gives a ratio, and a row reports the
// medians and the spread of its pair ratios.

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace dyno::bench {

// Seconds of one operation.
struct Cost {
  double cpu = 0;
  double wall = 0;
};

inline double Seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; }

// Runs count operations and gives the cost of one.
using Batch = std::function<Cost(int count)>;

// A batch of an operation of this process: the process's CPU time (every
// thread the operation may use) and the wall time.
inline Batch InProcess(std::function<void()> operation) {
  return [operation = std::move(operation)](int count) {
    const double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wall0 = Seconds(CLOCK_MONOTONIC);
    for (int i = 0; i < count; ++i) operation();
    const double wall = Seconds(CLOCK_MONOTONIC) - wall0;
    const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    return Cost{cpu / count, wall / count};
  };
}

// The p-quantile (0..1) of values, interpolated between neighbours.
inline double Quantile(std::vector<double> values, double p) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const double at = p * static_cast<double>(values.size() - 1);
  const auto low = static_cast<std::size_t>(std::floor(at));
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

// One clock's figures of a row.
struct Figures {
  double a = 0;            // median seconds of A
  double b = 0;            // median seconds of B (0 without a floor)
  double ratio = 0;        // median of the pair ratios A / B
  double low = 0;          // their 25th percentile (of A itself without a floor)
  double high = 0;         // their 75th percentile
};

struct Outcome {
  Figures cpu;
  Figures wall;
  int pairs = 0;
};

struct TimingOptions {
  int pairs = 21;
  double batchSeconds = 0.02;  // the least wall time of one batch
};

// How many operations make a batch of at least the asked time; the runs
// also warm up caches and lazily made state.
inline int BatchSize(const Batch& batch, const TimingOptions& options, int most) {
  int count = 1;
  for (;;) {
    const Cost cost = batch(count);
    if (count >= most || cost.wall * count >= options.batchSeconds) return count;
    const double wanted = cost.wall > 0 ? options.batchSeconds / cost.wall * 1.2 : count * 10.0;
    count = static_cast<int>(std::clamp(wanted, count * 2.0, static_cast<double>(most)));
  }
}

// Times a against b (or a alone when b is empty) in alternating batches.
// most: the largest batch, 1 for operations that each take long.
inline Outcome TimePairs(const Batch& a, const Batch& b, const TimingOptions& options, int most = 1 << 20) {
  const int countA = BatchSize(a, options, most);
  const int countB = b ? BatchSize(b, options, most) : 0;
  std::vector<double> cpuA, cpuB, wallA, wallB, cpuRatio, wallRatio;
  for (int i = 0; i < options.pairs; ++i) {
    const Cost costA = a(countA);
    cpuA.push_back(costA.cpu);
    wallA.push_back(costA.wall);
    if (!b) continue;
    const Cost costB = b(countB);
    cpuB.push_back(costB.cpu);
    wallB.push_back(costB.wall);
    cpuRatio.push_back(costA.cpu / costB.cpu);
    wallRatio.push_back(costA.wall / costB.wall);
  }
  const auto figures = [&](const std::vector<double>& valuesA, const std::vector<double>& valuesB,
                           const std::vector<double>& ratios) {
    Figures f;
    f.a = Quantile(valuesA, 0.5);
    if (ratios.empty()) {
      f.low = Quantile(valuesA, 0.25);
      f.high = Quantile(valuesA, 0.75);
      return f;
    }
    f.b = Quantile(valuesB, 0.5);
    f.ratio = Quantile(ratios, 0.5);
    f.low = Quantile(ratios, 0.25);
    f.high = Quantile(ratios, 0.75);
    return f;
  };
  return {figures(cpuA, cpuB, cpuRatio), figures(wallA, wallB, wallRatio), options.pairs};
}

}  // namespace dyno::bench
