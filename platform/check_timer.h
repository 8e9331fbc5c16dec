// A wake-up of the program's main thread every so many seconds, for checks made while
// nothing else is going on. Each one calls the handler the program wired to it, as a window
// event: it may come nested inside a pause, like any other.
#pragma once

namespace zantic {

class CheckTimer {
 public:
  virtual ~CheckTimer() = default;
  // Ticks every `seconds` from now on; a timer already ticking at that pace goes on as it was.
  virtual void StartTimer(double seconds) = 0;
  // No tick any more until the next StartTimer.
  virtual void StopTimer() = 0;
};

}  // namespace zantic
