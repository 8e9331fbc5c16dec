#include "platform/win32/event_loop_win32.h"

#include <algorithm>
#include <cmath>

#include "platform/win32/later_windows.h"

namespace zantic::win32 {

Win32EventLoop::Win32EventLoop() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  seconds_per_tick_ = 1.0 / static_cast<double>(frequency.QuadPart);
  // A high-resolution timer where Windows has one (10, version 1803 on), else a plain one.
  using CreateTimerEx = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);
  constexpr DWORD kHighResolution = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
  if (auto create_ex = LaterWindowsFunction<CreateTimerEx>(L"kernel32.dll", "CreateWaitableTimerExW")) {
    timer_ = create_ex(nullptr, nullptr, kHighResolution, TIMER_ALL_ACCESS);
  }
  if (!timer_) timer_ = CreateWaitableTimerW(nullptr, TRUE, nullptr);
  // Under Wine a non-alertable NtDelayExecution is a plain system sleep, exact to about
  // 0.1 ms; on Windows it lasts at least a timer tick (0.5 to 15.6 ms). Which of the two
  // holds here is measured: the best of three 0.1 ms sleeps.
  delay_ = reinterpret_cast<DelayFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDelayExecution")));
  if (delay_) {
    double best = 1;
    for (int i = 0; i < 3; ++i) {
      const double start = Now();
      if (!SleepBriefly(0.0001)) break;
      best = std::min(best, Now() - start);
    }
    if (best > 0.0004) delay_ = nullptr;
  }
}

Win32EventLoop::~Win32EventLoop() {
  if (timer_) CloseHandle(timer_);
}

void Win32EventLoop::Dispatch(MSG& msg) {
  if (pre_translate && pre_translate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32EventLoop::PumpEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the outermost loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

double Win32EventLoop::Now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * seconds_per_tick_;
}

bool Win32EventLoop::WaitForEvents(double deadline) {
  // Under Wine a wait lasts its length rounded up to whole milliseconds plus 0.1 to 1 ms,
  // so a plain wait ends on average more than half a millisecond late, and sixty of them
  // make a minute 40 ms long. Instead a wait for events until the last stretch before the
  // deadline, and then, where the platform sleeps exactly (Wine), that stretch slept
  // through without another round trip to the window system (events that come in it wait
  // for the pause's end, a millisecond or two); elsewhere a timed wait of whole
  // milliseconds and the last fraction yielding the processor. Each stage returns to the
  // caller, which handles the events that came when told so.
  const double remaining = deadline - Now();
  if (remaining <= 0) return false;
  const double last_stretch = delay_ ? 0.0015 : 0.002;
  if (remaining > last_stretch + 0.001 || !timer_) {
    const double until = timer_ ? remaining - last_stretch : remaining;
    const DWORD ms = static_cast<DWORD>(timer_ ? std::floor(until * 1000.0) : std::ceil(until * 1000.0));
    return MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_TIMEOUT;
  }
  if (delay_) {
    SleepUntil(deadline);
    return false;
  }
  if (remaining >= 0.001) {
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(std::floor(remaining * 1000.0)) * 10000;  // whole ms
    SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    CancelWaitableTimer(timer_);
    return woke != WAIT_OBJECT_0;  // not the timer: input, or a failed wait (pump to be sure)
  }
  while (Now() < deadline) SwitchToThread();
  return false;
}

// Sleeps until the deadline, each sleep shortened by how late such sleeps have ended so
// far, and yields only for what is left when the deadline is closer than that.
void Win32EventLoop::SleepUntil(double deadline) {
  for (double left = deadline - Now(); left > 0; left = deadline - Now()) {
    if (left <= lateness_ + 0.00003) {
      while (Now() < deadline) SwitchToThread();
      return;
    }
    const double asked = left - lateness_;
    const double start = Now();
    SleepBriefly(asked);
    const double late = (Now() - start) - asked;
    lateness_ = std::clamp(lateness_ + (late - lateness_) / 8, 0.0, 0.0005);
  }
}

bool Win32EventLoop::SleepBriefly(double seconds) {
  LARGE_INTEGER interval;
  interval.QuadPart = -static_cast<LONGLONG>(seconds * 1e7);  // relative, in 100 ns units
  return delay_ && delay_(FALSE, &interval) >= 0;
}

}  // namespace zantic::win32
