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
  // Gives up the processor until an event is pending or Now() reaches `deadline`.
  virtual void WaitForEvents(double deadline) = 0;
};

}  // namespace zantic
