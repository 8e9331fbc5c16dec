// Measures Pause: the overshoot past its deadline and the processor time it costs, next to
// the literal busy-wait pause (pump, read the clock, repeat) measured in the same run.
//
//   pause_bench.exe [ours|busy|both] [count] [seconds]   (default: both, 30 pauses of 1 s)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "aol/window_utils.h"
#include "platform/win32/event_loop_win32.h"

namespace {

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// The busy-wait the product does not use: one pump and one clock reading per pass.
void BusyPause(zantic::EventLoop& events, double seconds) {
  const double start = events.Now();
  while (events.Now() - start < seconds) events.PumpEvents();
}

struct Result {
  double cpu = 0;
  std::vector<double> overshoot_ms;
};

Result Measure(zantic::EventLoop& events, int count, double seconds,
               const std::function<void(double)>& pause) {
  Result r;
  const double cpu0 = CpuSeconds();
  for (int i = 0; i < count; ++i) {
    const double start = events.Now();
    pause(seconds);
    r.overshoot_ms.push_back((events.Now() - start - seconds) * 1000.0);
  }
  r.cpu = CpuSeconds() - cpu0;
  std::sort(r.overshoot_ms.begin(), r.overshoot_ms.end());
  return r;
}

void Print(const char* name, const Result& r, double wall) {
  const auto& o = r.overshoot_ms;
  std::printf("%-12s cpu %7.3f s (%6.2f%% of a core)  overshoot ms: min %.3f  median %.3f  max %.3f\n",
              name, r.cpu, 100.0 * r.cpu / wall, o.front(), o[o.size() / 2], o.back());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "both";
  const int count = argc > 2 ? std::atoi(argv[2]) : 30;
  const double seconds = argc > 3 ? std::atof(argv[3]) : 1.0;
  // A window, so the pump has a real queue to look at.
  HWND window = CreateWindowExW(0, L"STATIC", L"pause bench", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  zantic::win32::Win32EventLoop events;
  std::printf("%d pauses of %.3f s each\n", count, seconds);
  if (mode != "busy") {
    Print("Pause", Measure(events, count, seconds, [&](double s) { zantic::Pause(events, s); }),
          count * seconds);
  }
  if (mode != "ours") {
    Print("busy-wait", Measure(events, count, seconds, [&](double s) { BusyPause(events, s); }),
          count * seconds);
  }
  std::fflush(stdout);
  return 0;
}
