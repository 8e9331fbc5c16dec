// The check timer over a window timer (SetTimer) of the program's main window. Its ticks
// come as WM_TIMER, dispatched to the timer's own procedure by whatever loop pumps the
// window's events, and run the handler given.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/check_timer.h"

namespace zantic::win32 {

class Win32CheckTimer final : public CheckTimer {
 public:
  Win32CheckTimer(HWND window, std::function<void()> on_tick) : window_(window), on_tick_(std::move(on_tick)) {}
  ~Win32CheckTimer() override { StopTimer(); }
  Win32CheckTimer(const Win32CheckTimer&) = delete;
  Win32CheckTimer& operator=(const Win32CheckTimer&) = delete;

  void StartTimer(double seconds) override;
  void StopTimer() override;

 private:
  static void CALLBACK Tick(HWND window, UINT message, UINT_PTR id, DWORD time);
  HWND window_;
  std::function<void()> on_tick_;
  UINT interval_ms_ = 0;  // 0: stopped
};

}  // namespace zantic::win32
