#include "aol/send_queue.h"

#include <chrono>
#include <deque>
#include <thread>
#include <utility>

namespace zantic {
namespace {

struct Group {
  Hwnd window;
  AolClient::Messages messages;
  AolClient::Step step;
};

// Whether a group of step `earlier` is needless once a group of step `later` is queued.
bool Supersedes(const AolClient::Step& later, const AolClient::Step& earlier) {
  return later.series != 0 && earlier.series == later.series && earlier.number < later.number;
}

class Steady final : public SendQueue::Clock {
 public:
  double Now() override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  }
  void WaitUntil(double until, std::condition_variable& wake, std::unique_lock<std::mutex>& lock) override {
    wake.wait_for(lock, std::chrono::duration<double>(until - Now()));
  }
};

}  // namespace

struct SendQueue::State {
  std::mutex mutex;
  std::condition_variable wake;  // a group queued, or the end
  std::condition_variable idle;  // a group has gone out
  std::deque<Group> waiting;
  std::size_t capacity = kCapacity;
  std::size_t dropped = 0, superseded = 0;
  bool sending = false;  // the thread is inside a group
  // The group on its way has sent its empty message and waits for the client's answer;
  // a later step of its series may still make it needless.
  bool answering = false, needless = false;
  AolClient::Step on_its_way;
  bool held_up = false;
  double next_at = 0;  // the pacing: no group goes out before this
  bool stop = false;
  std::thread thread;
};

SendQueue::Clock& SendQueue::SteadyClock() {
  static Steady clock;
  return clock;
}

SendQueue::SendQueue(WindowSystem& windows, std::size_t capacity, Clock& clock)
    : windows_(windows), state_(std::make_shared<State>()) {
  state_->capacity = capacity;
  state_->thread = std::thread(&SendQueue::Work, state_, &windows_, &clock);
}

SendQueue::~SendQueue() {
  std::unique_lock<std::mutex> lock(state_->mutex);
  state_->stop = true;
  state_->waiting.clear();
  const bool stuck = state_->sending;
  std::thread thread = std::move(state_->thread);
  lock.unlock();
  state_->wake.notify_all();
  if (stuck) {
    thread.detach();  // it holds the state and leaves when its client lets it go
  } else {
    thread.join();
  }
}

void SendQueue::Work(std::shared_ptr<State> state, WindowSystem* windows, Clock* clock) {
  std::unique_lock<std::mutex> lock(state->mutex);
  for (;;) {
    state->wake.wait(lock, [&] { return state->stop || !state->waiting.empty(); });
    if (state->stop) return;
    if (clock->Now() < state->next_at) {
      clock->WaitUntil(state->next_at, state->wake, lock);
      continue;
    }
    Group group = std::move(state->waiting.front());
    state->waiting.pop_front();
    state->sending = state->answering = true;
    state->needless = false;
    state->on_its_way = group.step;
    lock.unlock();
    const double began = clock->Now();
    windows->SendMessageA(group.window, wm::kNull, 0, 0);
    lock.lock();
    state->answering = false;
    const bool send = !state->needless;
    if (send) {
      lock.unlock();
      group.messages(*windows);
      lock.lock();
    } else {
      ++state->superseded;
    }
    const double done = clock->Now();
    if (done - began > kHeldUpAfter) state->held_up = true;
    if (send && state->held_up) state->next_at = done + kPacing;
    if (state->waiting.empty()) state->held_up = false;
    state->sending = false;
    state->idle.notify_all();
  }
}

void SendQueue::Send(Hwnd window, Messages messages, Step step) {
  if (window == kNoWindow) return;
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    const std::size_t before = state_->waiting.size();
    std::erase_if(state_->waiting, [&](const Group& g) { return Supersedes(step, g.step); });
    state_->superseded += before - state_->waiting.size();
    if (state_->answering && Supersedes(step, state_->on_its_way)) state_->needless = true;
    if (state_->waiting.size() >= state_->capacity) {
      state_->waiting.pop_front();
      ++state_->dropped;
    }
    state_->waiting.push_back(Group{window, std::move(messages), step});
  }
  state_->wake.notify_one();
}

bool SendQueue::Drain(double seconds) {
  std::unique_lock<std::mutex> lock(state_->mutex);
  return state_->idle.wait_for(lock, std::chrono::duration<double>(seconds),
                               [&] { return state_->waiting.empty() && !state_->sending; });
}

std::size_t SendQueue::dropped() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->dropped;
}

std::size_t SendQueue::superseded() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->superseded;
}

}  // namespace zantic
