// The event pump and clock over the Win32 message queue.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/event_loop.h"

namespace zantic::win32 {

class Win32EventLoop final : public EventLoop {
 public:
  Win32EventLoop();
  ~Win32EventLoop() override;
  Win32EventLoop(const Win32EventLoop&) = delete;
  Win32EventLoop& operator=(const Win32EventLoop&) = delete;

  // Gives a window a first look at each message (dialog-style keyboard navigation);
  // returns true when it handled the message.
  std::function<bool(MSG&)> pre_translate;

  void PumpEvents() override;
  double Now() override;
  bool WaitForEvents(double deadline) override;

  // Handles one message as PumpEvents does (for the outermost message loop).
  void Dispatch(MSG& msg);

 private:
  // Sleeps about `seconds` (less than a millisecond) without a round trip to the window
  // system, where the platform's short sleep keeps to a fraction of a millisecond.
  bool SleepBriefly(double seconds);
  void SleepUntil(double deadline);
  double lateness_ = 0.0001;  // how late a brief sleep has ended, lately

  double seconds_per_tick_;
  HANDLE timer_ = nullptr;  // for the last milliseconds of a wait
  using DelayFunction = LONG(WINAPI*)(BOOLEAN, LARGE_INTEGER*);
  DelayFunction delay_ = nullptr;  // NtDelayExecution, when it is that precise here
};

}  // namespace zantic::win32
