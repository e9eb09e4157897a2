#pragma once
// Timing for the benchmarks: the performance counter read as seconds, one piece of
// work timed, and a figure printed beside its floor with the ratio between them.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace vk::bench {

// The performance counter now, in seconds since an arbitrary start.
inline double Now() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The same in milliseconds.
inline double NowMs() { return Now() * 1000.0; }

// The middle figure of several rounds (the upper middle of an even count).
inline double Median(std::vector<double> figures) {
  std::sort(figures.begin(), figures.end());
  return figures[figures.size() / 2];
}

// How long `work` takes, in seconds.
inline double Seconds(const std::function<void()>& work) {
  const double start = Now();
  work();
  return Now() - start;
}

// One line: what was measured, how many times, our time and the floor's (both in
// seconds, printed in ms) and their ratio. The widths keep each program's columns.
inline void Report(const char* what, int count, double ours, double floor, int whatWidth = 40,
                   int countWidth = 6) {
  std::printf("%-*s %*d  %9.3f ms  floor %9.3f ms  ratio %5.2f\n", whatWidth, what, countWidth, count,
              ours * 1000, floor * 1000, floor > 0 ? ours / floor : 0.0);
}

}  // namespace vk::bench
