// Waiting without freezing the main window: every wait of the program is built on these.
#pragma once

#include <functional>
#include <optional>

#include "platform/event_loop.h"

namespace zantic {

// Lets every pending window event run to its handler, nested inside the caller.
void PumpEvents(EventLoop& events);

// Returns once `seconds` have passed since the call, handling window events meanwhile.
// Between passes it sleeps until the next event or the deadline, whichever comes first,
// so a pause costs no processor time. A pause of 0 seconds or less returns at once
// without pumping.
void Pause(EventLoop& events, double seconds);

// Pause to a time on the event loop's clock (`deadline`, compared with Now()), that also
// ends after any pass of events that leaves `done` true, or at once when `done` holds at
// the call. It sleeps through a quiet stretch of any length in one wait: it wakes for
// events and for the deadline, never to look whether something changed. Returns the time
// the ending pass began when `done` ended it (the event that made it true was handled in
// that pass; the call's time when it held already), nothing when the deadline came. A
// deadline already past returns at once without pumping.
std::optional<double> PauseUntil(EventLoop& events, double deadline, const std::function<bool()>& done = {});

}  // namespace zantic
