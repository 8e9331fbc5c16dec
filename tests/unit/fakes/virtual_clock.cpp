#include "fakes/virtual_clock.h"

#include <algorithm>

namespace zantic::fakes {

void VirtualClock::PumpEvents() {
  ++pumps;
  // Events due now run in time order; an event may schedule or pump further events.
  while (!events_.empty() && events_.begin()->first <= now_) {
    auto event = std::move(events_.begin()->second);
    events_.erase(events_.begin());
    event();
  }
}

void VirtualClock::WaitForEvents(double deadline) {
  ++waits;
  double until = deadline;
  if (!events_.empty()) until = std::min(until, events_.begin()->first);
  now_ = std::max(now_, until);
}

void FakeTimer::StartTimer(double seconds) {
  if (interval == seconds) return;
  interval = seconds;
  ++starts;
  ++generation_;
  Schedule();
}

void FakeTimer::StopTimer() {
  interval = 0;
  ++generation_;
}

void FakeTimer::Schedule() {
  clock_.After(interval, [this, generation = generation_] {
    if (generation != generation_) return;
    Schedule();
    if (on_tick) on_tick();
  });
}

}  // namespace zantic::fakes
