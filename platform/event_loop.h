// The event pump and the clock that every wait is built on.
#pragma once

namespace zantic {

class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Delivers every pending window event of the program to its handler, then returns.
  // Handlers run nested inside the caller.
  virtual void PumpEvents() = 0;
  // Monotonic seconds, fractions included; never jumps back.
  virtual double Now() = 0;
  // Gives up the processor until an event is pending or Now() reaches `deadline` (it may
  // return sooner: the caller waits again while time is left). True when it returned for an
  // event, pending at once or come meanwhile: the caller pumps. False when it saw none; an
  // event that comes in a last stretch it sleeps through is left for whoever pumps next.
  virtual bool WaitForEvents(double deadline) = 0;
};

}  // namespace zantic
