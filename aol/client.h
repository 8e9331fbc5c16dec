// How the program reaches the AOL client: its windows are looked up directly (the window
// system answers lookups itself), and every message sent to them goes through Send, which
// hands the messages to a queue and returns at once. A client that stops answering holds
// up the queue, never the program.
#pragma once

#include <functional>

#include "platform/window_system.h"

namespace zantic {

class AolClient {
 public:
  // A few messages that belong together (a line and its Enter, a press and its release),
  // sent in order on the queue's thread.
  using Messages = std::function<void(WindowSystem&)>;

  virtual ~AolClient() = default;

  // Lookups and captions, answered on the caller's thread.
  virtual WindowSystem& windows() = 0;
  // Queues `messages`, which go first to `window`, behind everything sent before: they go
  // out whole and in order, and not before `window`'s program answers.
  virtual void Send(Hwnd window, Messages messages) = 0;
  // Waits until everything queued has gone out, at most `seconds`; true when it has.
  virtual bool Drain(double seconds) = 0;
};

}  // namespace zantic
