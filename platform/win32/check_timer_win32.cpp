#include "platform/win32/check_timer_win32.h"

#include <algorithm>
#include <cmath>

namespace zantic::win32 {

// The timer's identifier is the object itself, which the tick finds its way back by.
void Win32CheckTimer::StartTimer(double seconds) {
  const UINT ms = static_cast<UINT>(std::max<long>(USER_TIMER_MINIMUM, std::lround(seconds * 1000)));
  if (ms == interval_ms_) return;
  interval_ms_ = SetTimer(window_, reinterpret_cast<UINT_PTR>(this), ms, &Tick) ? ms : 0;
}

void Win32CheckTimer::StopTimer() {
  if (interval_ms_ != 0) KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
  interval_ms_ = 0;
}

void CALLBACK Win32CheckTimer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
  auto* self = reinterpret_cast<Win32CheckTimer*>(id);
  if (self->on_tick_) self->on_tick_();
}

}  // namespace zantic::win32
