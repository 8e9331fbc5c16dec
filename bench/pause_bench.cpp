// Pause accuracy: how far past its deadline Pause(0.4), Pause(0.7), Pause(1) and Pause(1.3)
// return while the window receives input all along, next to the literal busy-wait (pump,
// read the clock, repeat) under the same input in the same run; and what each costs.
#include <windows.h>

#include <atomic>
#include <thread>

#include "core/pause.h"
#include "bench/benchmarks.h"
#include "bench/proc_stats.h"
#include "bench/report.h"
#include "platform/win32/event_loop_win32.h"

namespace bench {
namespace {

std::atomic<long> g_handled{0};

LRESULT CALLBACK CountingProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_MOUSEMOVE || msg == WM_TIMER || msg == WM_USER) ++g_handled;
  return DefWindowProcW(window, msg, wparam, lparam);
}

// The busy-wait the product does not use: one pump and one clock reading per pass.
void BusyPause(zantic::EventLoop& events, double seconds) {
  const double start = events.Now();
  while (events.Now() - start < seconds) events.PumpEvents();
}

struct Variant {
  const char* name;
  void (*pause)(zantic::EventLoop&, double);
  int count;
  std::vector<double> overshoot_ms[4];
  double cpu = 0, server = 0, wall = 0;
  long handled = 0;
};

constexpr double kSeconds[4] = {0.4, 0.7, 1.0, 1.3};

}  // namespace

int PauseBench(int count, int reference_count) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = CountingProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"ZanticPauseBench";
  RegisterClassW(&cls);
  HWND window = CreateWindowExW(0, cls.lpszClassName, L"pause bench", WS_POPUP | WS_VISIBLE, 100, 100,
                                300, 200, nullptr, nullptr, cls.hInstance, nullptr);
  zantic::win32::Win32EventLoop events;

  // Input all along: the mouse moving over the window (through the system's input queue),
  // posted messages, and a 10 ms timer.
  std::atomic<bool> stop{false};
  std::thread input([&] {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    for (int i = 0; !stop; ++i) {
      INPUT in{};
      in.type = INPUT_MOUSE;
      in.mi.dx = ((110 + i % 200) * 65536 + w / 2) / w;
      in.mi.dy = ((110 + i % 150) * 65536 + h / 2) / h;
      in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
      SendInput(1, &in, sizeof in);
      Sleep(5);
      PostMessageW(window, WM_USER, 0, 0);
      Sleep(5);
    }
  });
  SetTimer(window, 1, 10, nullptr);

  Variant ours{"Pause", [](zantic::EventLoop& e, double s) { zantic::Pause(e, s); }, count, {}};
  Variant busy{"busy-wait", BusyPause, reference_count, {}};
  const UnixPid server = FindWineserver();
  for (Variant* v : {&ours, &busy}) {
    const double cpu0 = ThisThreadCpuSeconds(), server0 = CpuSeconds(server).value_or(0);
    const long handled0 = g_handled;
    const double wall0 = Now();
    // The lengths interleaved, so a disturbance of the machine touches all alike.
    for (int i = 0; i < v->count; ++i) {
      for (int k = 0; k < 4; ++k) {
        const double start = events.Now();
        v->pause(events, kSeconds[k]);
        v->overshoot_ms[k].push_back((events.Now() - start - kSeconds[k]) * 1000.0);
      }
    }
    v->wall = Now() - wall0;
    v->cpu = ThisThreadCpuSeconds() - cpu0;
    v->server = CpuSeconds(server).value_or(0) - server0;
    v->handled = g_handled - handled0;
  }
  stop = true;
  input.join();
  KillTimer(window, 1);
  DestroyWindow(window);

  bool all_met = true;
  std::vector<double> pooled, pooled_busy;
  for (int k = 0; k < 4; ++k) {
    const Spread s = SpreadOf(ours.overshoot_ms[k]), b = SpreadOf(busy.overshoot_ms[k]);
    pooled.insert(pooled.end(), ours.overshoot_ms[k].begin(), ours.overshoot_ms[k].end());
    pooled_busy.insert(pooled_busy.end(), busy.overshoot_ms[k].begin(), busy.overshoot_ms[k].end());
    const bool met = s.median < 1 && s.p99 < 3;
    all_met = all_met && met;
    Row("2 Pause", Format("overshoot of Pause(%.1f), ms: min / median / p99 / max (n = %zu)", kSeconds[k], s.n),
        Format("%.3f / %.3f / %.3f / %.3f", s.min, s.median, s.p99, s.max),
        Format("busy-wait: %.3f / %.3f / %.3f / %.3f (n = %zu)", b.min, b.median, b.p99, b.max, b.n),
        "median < 1, p99 < 3", met);
  }
  const Spread s = SpreadOf(pooled), b = SpreadOf(pooled_busy);
  Row("2 Pause", Format("all %zu pauses, ms: median / p99 / max", s.n),
      Format("%.3f / %.3f / %.3f", s.median, s.p99, s.max),
      Format("busy-wait: %.3f / %.3f / %.3f", b.median, b.p99, b.max), "median < 1, p99 < 3",
      s.median < 1 && s.p99 < 3);
  auto core = [](double cpu, double wall) { return Format("%.2f%%", 100 * cpu / wall); };
  Row("2 Pause", "CPU while pausing under input: the pausing thread / wineserver, share of one core",
      core(ours.cpu, ours.wall) + " / " + core(ours.server, ours.wall),
      "busy-wait: " + core(busy.cpu, busy.wall) + " / " + core(busy.server, busy.wall));
  Detail(Format("pause: events handled during the pauses: Pause %ld in %.0f s, busy-wait %ld in %.0f s",
                ours.handled, ours.wall, busy.handled, busy.wall));
  return all_met ? 0 : 1;
}

}  // namespace bench
