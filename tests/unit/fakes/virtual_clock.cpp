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

bool VirtualClock::WaitForEvents(double deadline) {
  ++waits;
  // An event due at the deadline itself is left for the next pass, as a platform's wait
  // that times out leaves it.
  const bool event = !events_.empty() && events_.begin()->first < deadline;
  now_ = std::max(now_, event ? events_.begin()->first : deadline);
  return event;
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
