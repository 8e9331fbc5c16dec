// The queue that carries every message the program sends to the AOL client. A thread of
// its own sends them, group by group in the order they were queued, so the user-interface
// thread never waits for the client: a client that hangs holds up only this thread, and
// what was queued behind it goes out, whole and in order, once the client answers again.
//
// Before a group's first message the thread sends the group's first window an empty
// message (WM_NULL): it returns only once the client answers, so a group is never begun
// inside a hang and left half sent when the program ends.
//
// After a hang the room gets the present, not a flood:
// - Superseded steps. A group of a later step of a series (a run's minute step) drops the
//   groups of earlier steps of that series that have not reached the client: those
//   waiting at once, and one whose empty message still waits for the client's answer when
//   that answer comes. Every other group goes out, in order.
// - Pacing. The queue is held up when a group took the client longer than kHeldUpAfter
//   (from its empty message to its last message: a hang, or a client too slow for what is
//   asked of it), and stays held up until no group is left waiting. While it is held up a
//   group goes out no sooner than kPacing after the one before it has gone out, and so
//   does the first group after: what piled up reaches the room a line at a time, not in a
//   burst that a room's flood limits punish. A queue that was never held up sends each
//   group as soon as the client takes it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>

#include "aol/client.h"

namespace zantic {

class SendQueue final : public AolClient {
 public:
  // Groups waiting behind a hung client, at most; beyond that the oldest waiting group is
  // dropped (and counted), so a long hang does not end in a flood of stale lines.
  static constexpr std::size_t kCapacity = 100;
  // Seconds: a group that took the client longer holds the queue up.
  static constexpr double kHeldUpAfter = 1.0;
  // Seconds between two groups from a queue that was held up.
  static constexpr double kPacing = 0.7;

  // The queue's time, in seconds; its thread waits out the pacing on it. The product's is
  // the steady clock; a test moves one by hand.
  class Clock {
   public:
    virtual ~Clock() = default;
    virtual double Now() = 0;
    // Waits on `wake` (releasing `lock` meanwhile) until Now() reaches `until`. It may
    // return sooner: the queue then looks again.
    virtual void WaitUntil(double until, std::condition_variable& wake, std::unique_lock<std::mutex>& lock) = 0;
  };
  static Clock& SteadyClock();

  // `windows` and `clock` must outlive a sending thread stuck in a hung client: the
  // product's live until the process ends. `capacity` is at least 1.
  explicit SendQueue(WindowSystem& windows, std::size_t capacity = kCapacity, Clock& clock = SteadyClock());
  // Ends the sending thread; one stuck in a hung client is left to finish on its own.
  ~SendQueue() override;
  SendQueue(const SendQueue&) = delete;
  SendQueue& operator=(const SendQueue&) = delete;

  WindowSystem& windows() override { return windows_; }
  using AolClient::Send;
  // A group whose first window is none is not queued: there is nothing to send it to.
  void Send(Hwnd window, Messages messages, Step step) override;
  bool Drain(double seconds) override;

  // Groups dropped because the queue was full.
  std::size_t dropped() const;
  // Groups dropped because a later step of their series superseded them.
  std::size_t superseded() const;

 private:
  struct State;
  static void Work(std::shared_ptr<State> state, WindowSystem* windows, Clock* clock);

  WindowSystem& windows_;
  std::shared_ptr<State> state_;
};

}  // namespace zantic
