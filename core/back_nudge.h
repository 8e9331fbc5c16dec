// Whether the user is back at the keyboard during a run, to remind them that they are still
// marked away. It looks only at the time of the last input, every kCheckSeconds: when
// input was seen in most of the checks of the last half minute (not one stray move of the
// mouse), the user is back. It says so once per run; it never stops a run.
#pragma once

#include <bitset>
#include <cstdint>

namespace zantic {

class BackNudge {
 public:
  static constexpr int kCheckSeconds = 5;
  static constexpr int kSpanChecks = 6;     // 30 s
  static constexpr int kChecksNeeded = 5;   // with input in them

  // A run begins at `now_ms`: input before it does not count.
  void Begin(std::uint32_t now_ms);
  // A check during the run (the system's millisecond ticks); true the one time the user
  // is found back.
  bool Check(std::uint32_t now_ms, std::uint32_t last_input_ms);

 private:
  std::bitset<kSpanChecks> seen_;  // input since the check before, for the last checks
  std::uint32_t previous_ms_ = 0;
  bool running_ = false, nudged_ = false;
};

}  // namespace zantic
