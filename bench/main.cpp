// zantic_bench.exe: the benchmarks, run under Wine by bench/run-all (see bench/README.md).
//
//   zantic_bench.exe pause   [count=50] [reference_count=20]
//   zantic_bench.exe idle    [seconds=600] [busy_seconds=180] [baseline_seconds=60]
//   zantic_bench.exe scanner [latency_samples=40] [quiet_seconds=60] [flood_seconds=60]
//   zantic_bench.exe startup [count=10]
//   zantic_bench.exe hang    [hang_seconds=30]
//   zantic_bench.exe compare exe_a exe_b [seconds=120] [rounds=2]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/benchmarks.h"
#include "bench/report.h"

int main(int argc, char** argv) {
  const std::string which = argc > 1 ? argv[1] : "";
  auto arg = [&](int i, double fallback) { return argc > i + 1 ? std::atof(argv[i + 1]) : fallback; };
  if (which == "pause") return bench::PauseBench(static_cast<int>(arg(1, 50)), static_cast<int>(arg(2, 20)));
  if (which == "idle") return bench::IdleBench(arg(1, 600), arg(2, 180), arg(3, 60));
  if (which == "scanner") return bench::ScannerBench(static_cast<int>(arg(1, 40)), arg(2, 60), arg(3, 60));
  if (which == "startup") return bench::StartupBench(static_cast<int>(arg(1, 10)));
  if (which == "hang") return bench::HangBench(arg(1, 30));
  if (which == "compare" && argc > 3) {
    auto wide = [](const char* s) { return std::wstring(s, s + std::char_traits<char>::length(s)); };
    return bench::CompareBench(wide(argv[2]), wide(argv[3]), arg(3, 120), static_cast<int>(arg(4, 2)));
  }
  std::fprintf(stderr, "usage: zantic_bench.exe pause|idle|scanner|startup|hang [figures...]\n"
                       "       zantic_bench.exe compare exe_a exe_b [seconds] [rounds]\n");
  return 2;
}
