// How the program reaches the AOL client: its windows are looked up directly (the window
// system answers lookups itself), and every message sent to them goes through Send, which
// hands the messages to a queue and returns at once. A client that stops answering holds
// up the queue, never the program.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "platform/window_system.h"

namespace zantic {

class AolClient {
 public:
  // A few messages that belong together (a line and its Enter, a press and its release),
  // sent in order on the queue's thread.
  using Messages = std::function<void(WindowSystem&)>;

  // Groups that stand for one step of a series that goes on (a run's minute step: its
  // minute line and its reason or link line, step n of that run's series). A group of a
  // later step makes those of the earlier steps of its series needless as long as nothing
  // of them has reached the client. Series 0 is no series: such groups always go out.
  struct Step {
    std::uint64_t series = 0;
    std::uint64_t number = 0;
    bool operator==(const Step&) const = default;
  };

  virtual ~AolClient() = default;

  // Lookups and captions, answered on the caller's thread.
  virtual WindowSystem& windows() = 0;
  // Queues `messages`, which go first to `window`, behind everything sent before: they go
  // out whole and in order, and not before `window`'s program answers. Groups of earlier
  // steps of `step`'s series that are still waiting may be dropped.
  virtual void Send(Hwnd window, Messages messages, Step step) = 0;
  void Send(Hwnd window, Messages messages) { Send(window, std::move(messages), Step{}); }
  // Waits until everything queued has gone out, at most `seconds`; true when it has.
  virtual bool Drain(double seconds) = 0;
};

}  // namespace zantic
