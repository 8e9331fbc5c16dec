#include "core/back_nudge.h"

namespace zantic {

void PresenceRule::Reset(std::uint32_t now_ms) {
  seen_.reset();
  previous_ms_ = now_ms;
}

bool PresenceRule::Check(std::uint32_t now_ms, std::uint32_t last_input_ms) {
  // Input after the check before (the ticks wrap: compare by signed difference).
  const bool input = static_cast<std::int32_t>(last_input_ms - previous_ms_) > 0;
  previous_ms_ = now_ms;
  seen_ <<= 1;
  seen_.set(0, input);
  return static_cast<int>(seen_.count()) >= kChecksNeeded;
}

void BackNudge::Begin(std::uint32_t now_ms) {
  presence_.Reset(now_ms);
  running_ = true;
  nudged_ = false;
}

bool BackNudge::Check(std::uint32_t now_ms, std::uint32_t last_input_ms) {
  if (!running_ || nudged_) return false;
  nudged_ = presence_.Check(now_ms, last_input_ms);
  return nudged_;
}

}  // namespace zantic
