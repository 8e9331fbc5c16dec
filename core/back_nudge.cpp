#include "core/back_nudge.h"

namespace zantic {

void BackNudge::Begin(std::uint32_t now_ms) {
  *this = BackNudge{};
  previous_ms_ = now_ms;
  running_ = true;
}

bool BackNudge::Check(std::uint32_t now_ms, std::uint32_t last_input_ms) {
  if (!running_ || nudged_) return false;
  // Input after the check before (the ticks wrap: compare by signed difference).
  const bool input = static_cast<std::int32_t>(last_input_ms - previous_ms_) > 0;
  previous_ms_ = now_ms;
  seen_ <<= 1;
  seen_.set(0, input);
  nudged_ = static_cast<int>(seen_.count()) >= kChecksNeeded;
  return nudged_;
}

}  // namespace zantic
