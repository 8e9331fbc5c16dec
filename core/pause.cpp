#include "core/pause.h"

namespace zantic {

void PumpEvents(EventLoop& events) { events.PumpEvents(); }

void Pause(EventLoop& events, double seconds) {
  // The deadline is computed once and every test compares against it, so the test and the
  // wait agree exactly on when the pause is over.
  const double deadline = events.Now() + seconds;
  while (events.Now() < deadline) {
    PumpEvents(events);
    if (events.Now() >= deadline) return;
    events.WaitForEvents(deadline);
  }
}

}  // namespace zantic
