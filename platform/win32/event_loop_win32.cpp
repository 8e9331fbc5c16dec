#include "platform/win32/event_loop_win32.h"

#include <cmath>

namespace zantic::win32 {

Win32EventLoop::Win32EventLoop() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  seconds_per_tick_ = 1.0 / static_cast<double>(frequency.QuadPart);
  constexpr DWORD kHighResolution = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolution, TIMER_ALL_ACCESS);
  if (!timer_) timer_ = CreateWaitableTimerW(nullptr, TRUE, nullptr);
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

void Win32EventLoop::WaitForEvents(double deadline) {
  // Under Wine a wait lasts its length rounded up to whole milliseconds plus 0.1 to 1 ms,
  // so a plain wait ends on average more than half a millisecond late, and sixty of them
  // make a minute 40 ms long. Instead: a long wait until about two milliseconds before the
  // deadline; then a timed wait of whole milliseconds, which is exact to about 0.2 ms but
  // may end before the deadline; then the last fraction of a millisecond yielding the
  // processor. Each stage returns to the caller, which handles any events that came.
  const double remaining = deadline - Now();
  if (remaining <= 0) return;
  if (remaining > 0.003 || !timer_) {
    const double until = timer_ ? remaining - 0.002 : remaining;
    const DWORD ms = static_cast<DWORD>(timer_ ? std::floor(until * 1000.0) : std::ceil(until * 1000.0));
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return;
  }
  if (remaining >= 0.001) {
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(std::floor(remaining * 1000.0)) * 10000;  // whole ms
    SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
    MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    CancelWaitableTimer(timer_);
    return;
  }
  while (Now() < deadline) SwitchToThread();
}

}  // namespace zantic::win32
