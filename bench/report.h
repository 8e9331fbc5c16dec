// What every benchmark shares: order statistics, the clock, and the lines it prints.
// A benchmark prints rows of the results table ("| ... |") and detail lines ("# ...");
// bench/run-all gathers them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// Seconds on the monotonic clock the stand-in's log uses too.
double Now();

struct Spread {
  double min = 0, median = 0, p99 = 0, max = 0, mean = 0;
  std::size_t n = 0;
};
// p99 is the smallest value that at least 99% of the samples do not exceed.
Spread SpreadOf(std::vector<double> samples);

std::string Format(const char* format, ...);

// One row of the results table: benchmark, figure, ours, reference, target, whether met.
void Row(const std::string& bench, const std::string& figure, const std::string& ours,
         const std::string& reference, const std::string& target, bool met);
// A row whose figure has no target of its own.
void Row(const std::string& bench, const std::string& figure, const std::string& ours,
         const std::string& reference);
void Detail(const std::string& text);

// Sleeps, but without going below `seconds` (Sleep may wake a little early under Wine).
void SleepFor(double seconds);

}  // namespace bench
