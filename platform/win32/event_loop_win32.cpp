#include "platform/win32/event_loop_win32.h"

#include <cmath>

namespace zantic::win32 {

Win32EventLoop::Win32EventLoop() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  seconds_per_tick_ = 1.0 / static_cast<double>(frequency.QuadPart);
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
  const double remaining = deadline - Now();
  if (remaining <= 0) return;
  // Rounded up, so the wait never ends before the deadline and the caller never spins.
  const DWORD ms = static_cast<DWORD>(std::ceil(remaining * 1000.0));
  MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace zantic::win32
