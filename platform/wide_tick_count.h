// A 64-bit count of milliseconds made from a 32-bit one that wraps to 0 every 2^32 ms
// (49.7 days), for a Windows whose kernel32 has only the 32-bit GetTickCount.
#pragma once

#include <atomic>
#include <cstdint>

namespace zantic {

class WideTickCount {
 public:
  constexpr WideTickCount() = default;
  WideTickCount(const WideTickCount&) = delete;
  WideTickCount& operator=(const WideTickCount&) = delete;

  // The count now: `read()` gives the 32-bit count. Each call adds the ticks since the
  // previous call's reading, taken modulo 2^32, so the count goes on across a wrap, even
  // when nearly 49.7 days lie between two calls, and it never steps back. Threads may call
  // it at once: the 32-bit count is read and added under a spin lock (an atomic flag, which
  // needs no constructor to have run: the threads library may ask for the time before
  // any). The lock is held for a few instructions only.
  template <typename Read>
  std::uint64_t Now(Read read) {
    while (lock_.test_and_set(std::memory_order_acquire)) {
    }
    const std::uint32_t ticks = read();
    total_ += static_cast<std::uint32_t>(ticks - last_);
    last_ = ticks;
    const std::uint64_t now = total_;
    lock_.clear(std::memory_order_release);
    return now;
  }

 private:
  std::atomic_flag lock_{};
  std::uint32_t last_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace zantic
