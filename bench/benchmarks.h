// The benchmarks of zantic_bench.exe. Each prints its rows of the results table and its
// details, and returns 0 when every figure met its target.
#pragma once

#include <string>

namespace bench {

// Pause(0.4 / 0.7 / 1 / 1.3), `count` of each, and the busy-wait `reference_count` of each.
int PauseBench(int count, int reference_count);
// A regular idle run of the real program against the stand-in for `seconds`, and of the
// busy-loop build for `busy_seconds`, after `baseline_seconds` with the stand-in alone:
// processor time, minute cadence, working set.
int IdleBench(double seconds, double busy_seconds, double baseline_seconds);
// Two builds of the program (files in the build folder) in regular runs of `seconds`,
// taken in turns `rounds` times: processor time and minute cadence of each (b is shown
// as ours, a as the reference).
int CompareBench(const std::wstring& exe_a, const std::wstring& exe_b, double seconds, int rounds);
// The chat scanner: latency over `latency_samples` commands, processor time per poll over
// `quiet_seconds` with a small and a large transcript, and a flood of `flood_seconds`.
int ScannerBench(int latency_samples, double quiet_seconds, double flood_seconds);
// Start-up to the window shown, `count` times, next to a program that only shows a window.
int StartupBench(int count);
// A client that hangs `hang_seconds` across a run's first minute step.
int HangBench(double hang_seconds);

}  // namespace bench
