#include "aol/send_queue.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace zantic {

struct SendQueue::State {
  std::mutex mutex;
  std::condition_variable wake;  // a group queued, or the end
  std::condition_variable idle;  // a group has gone out
  std::deque<std::pair<Hwnd, Messages>> waiting;
  std::size_t capacity = kCapacity;
  std::size_t dropped = 0;
  bool sending = false;  // the thread is inside a group
  bool stop = false;
  std::thread thread;
};

SendQueue::SendQueue(WindowSystem& windows, std::size_t capacity)
    : windows_(windows), state_(std::make_shared<State>()) {
  state_->capacity = capacity;
  state_->thread = std::thread(&SendQueue::Work, state_, &windows_);
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

void SendQueue::Work(std::shared_ptr<State> state, WindowSystem* windows) {
  std::unique_lock<std::mutex> lock(state->mutex);
  for (;;) {
    state->wake.wait(lock, [&] { return state->stop || !state->waiting.empty(); });
    if (state->stop) return;
    auto [window, messages] = std::move(state->waiting.front());
    state->waiting.pop_front();
    state->sending = true;
    lock.unlock();
    windows->SendMessageA(window, wm::kNull, 0, 0);
    messages(*windows);
    lock.lock();
    state->sending = false;
    state->idle.notify_all();
  }
}

void SendQueue::Send(Hwnd window, Messages messages) {
  if (window == kNoWindow) return;
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->waiting.size() >= state_->capacity) {
      state_->waiting.pop_front();
      ++state_->dropped;
    }
    state_->waiting.emplace_back(window, std::move(messages));
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

}  // namespace zantic
