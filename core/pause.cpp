#include "core/pause.h"

namespace zantic {

void PumpEvents(EventLoop& events) { events.PumpEvents(); }

void Pause(EventLoop& events, double seconds) { PauseUntil(events, events.Now() + seconds); }

std::optional<double> PauseUntil(EventLoop& events, double deadline, const std::function<bool()>& done) {
  // The deadline is fixed before the first wait and every test compares against it, so the
  // test and the wait agree exactly on when the pause is over. The wait comes first: it
  // returns at once for an event already pending, and a wait that ran to its end found
  // nothing to pump, so a quiet pause is one wait and no pass of events.
  if (events.Now() >= deadline) return std::nullopt;
  if (done && done()) return events.Now();
  while (events.Now() < deadline) {
    if (!events.WaitForEvents(deadline)) continue;
    const double pass = events.Now();
    PumpEvents(events);
    if (done && done()) return pass;
  }
  return std::nullopt;
}

}  // namespace zantic
