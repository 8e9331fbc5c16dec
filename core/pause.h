// Waiting without freezing the main window: every wait of the program is built on these.
#pragma once

#include "platform/event_loop.h"

namespace zantic {

// Lets every pending window event run to its handler, nested inside the caller.
void PumpEvents(EventLoop& events);

// Returns once `seconds` have passed since the call, handling window events meanwhile.
// Between passes it sleeps until the next event or the deadline, whichever comes first,
// so a pause costs no processor time. A pause of 0 seconds or less returns at once
// without pumping.
void Pause(EventLoop& events, double seconds);

}  // namespace zantic
