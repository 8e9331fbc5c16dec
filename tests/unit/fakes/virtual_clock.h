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

}  // namespace zantic::fakes
