// A virtual clock and event pump: scripted events fire when the program pumps at or after
// their time; waiting jumps the clock straight to the next event or the deadline. A day of
// idling is a millisecond test, and nested handlers run exactly where they would.
#pragma once

#include <functional>
#include <map>

#include "platform/ports.h"

namespace zantic::fakes {

class VirtualClock : public EventLoop {
 public:
  explicit VirtualClock(double start = 0) : now_(start) {}

  // Schedules `event` to run inside the first pump at or after time `t`.
  void At(double t, std::function<void()> event) { events_.emplace(t, std::move(event)); }
  void After(double dt, std::function<void()> event) { At(now_ + dt, std::move(event)); }

  int pumps = 0;
  int waits = 0;

  void PumpEvents() override;
  double Now() override { return now_; }
  bool WaitForEvents(double deadline) override;

 private:
  double now_;
  std::multimap<double, std::function<void()>> events_;
};

// The check timer on the virtual clock: while started, a tick every `interval` seconds runs
// the handler wired to it as an event of the clock.
class FakeTimer : public CheckTimer {
 public:
  explicit FakeTimer(VirtualClock& clock) : clock_(clock) {}
  std::function<void()> on_tick;
  double interval = 0;  // 0: stopped
  int starts = 0;       // from stopped to ticking
  void StartTimer(double seconds) override;
  void StopTimer() override;

 private:
  void Schedule();
  VirtualClock& clock_;
  int generation_ = 0;  // ticks scheduled before the last start or stop are dropped
};

}  // namespace zantic::fakes
