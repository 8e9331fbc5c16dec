// Whether the user is at the keyboard, and the nudge that reminds a user who is back that
// they are still marked away.
#pragma once

#include <bitset>
#include <cstdint>

namespace zantic {

// Judges the user present from the time of the last input alone, looked at every
// kCheckSeconds: present when input was seen in most of the checks of the last half minute
// (not one stray move of the mouse).
class PresenceRule {
 public:
  static constexpr int kCheckSeconds = 5;
  static constexpr int kSpanChecks = 6;     // 30 s
  static constexpr int kChecksNeeded = 5;   // with input in them

  // Input before `now_ms` does not count.
  void Reset(std::uint32_t now_ms);
  // A check (the system's millisecond ticks): true when the user is judged present.
  bool Check(std::uint32_t now_ms, std::uint32_t last_input_ms);

 private:
  std::bitset<kSpanChecks> seen_;  // input since the check before, for the last checks
  std::uint32_t previous_ms_ = 0;
};

// The nudge during a run: once the user is found back, it says so, once per run; it never
// stops a run.
class BackNudge {
 public:
  static constexpr int kCheckSeconds = PresenceRule::kCheckSeconds;

  // A run begins at `now_ms`: input before it does not count.
  void Begin(std::uint32_t now_ms);
  // A check during the run; true the one time the user is found back.
  bool Check(std::uint32_t now_ms, std::uint32_t last_input_ms);

 private:
  PresenceRule presence_;
  bool running_ = false, nudged_ = false;
};

}  // namespace zantic
