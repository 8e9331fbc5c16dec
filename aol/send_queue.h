// The queue that carries every message the program sends to the AOL client. A thread of
// its own sends them, group by group in the order they were queued, so the user-interface
// thread never waits for the client: a client that hangs holds up only this thread, and
// what was queued behind it goes out, whole and in order, once the client answers again.
//
// Before a group's first message the thread sends the group's first window an empty
// message (WM_NULL): it returns only once the client answers, so a group is never begun
// inside a hang and left half sent when the program ends.
#pragma once

#include <cstddef>
#include <memory>

#include "aol/client.h"

namespace zantic {

class SendQueue final : public AolClient {
 public:
  // Groups waiting behind a hung client, at most; beyond that the oldest waiting group is
  // dropped (and counted), so a long hang does not end in a flood of stale lines.
  static constexpr std::size_t kCapacity = 100;

  // `windows` must outlive a sending thread stuck in a hung client: the product's lives
  // until the process ends. `capacity` is at least 1.
  explicit SendQueue(WindowSystem& windows, std::size_t capacity = kCapacity);
  // Ends the sending thread; one stuck in a hung client is left to finish on its own.
  ~SendQueue() override;
  SendQueue(const SendQueue&) = delete;
  SendQueue& operator=(const SendQueue&) = delete;

  WindowSystem& windows() override { return windows_; }
  // A group whose first window is none is not queued: there is nothing to send it to.
  void Send(Hwnd window, Messages messages) override;
  bool Drain(double seconds) override;

  // Groups dropped because the queue was full.
  std::size_t dropped() const;

 private:
  struct State;
  static void Work(std::shared_ptr<State> state, WindowSystem* windows);

  WindowSystem& windows_;
  std::shared_ptr<State> state_;
};

}  // namespace zantic
