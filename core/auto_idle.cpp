#include "core/auto_idle.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/settings.h"
#include "platform/text.h"

namespace zantic {

void AutoIdle::Choose(double minutes, std::uint32_t now_ms) {
  on_ = minutes > 0;
  if (on_) minutes_ = minutes;
  if (!on_) own_run_ = false;  // a run it started is the user's from now on
  presence_.Reset(now_ms);
  UserPresent(now_ms);
}

void AutoIdle::UserPresent(std::uint32_t now_ms) {
  away_ms_ = 0;
  previous_ms_ = now_ms;
}

void AutoIdle::RunBegan(std::uint32_t now_ms, bool by_itself) {
  run_ = true;
  own_run_ = by_itself && on_;
  // As for the nudge: input before the run does not count towards the user being back.
  presence_.Reset(now_ms);
  previous_ms_ = now_ms;
}

void AutoIdle::RunEnded(std::uint32_t now_ms) {
  run_ = false;
  own_run_ = false;
  UserPresent(now_ms);  // Stop was pressed, by the user or for a user found back
}

AutoIdle::Next AutoIdle::Check(std::uint32_t now_ms, std::uint32_t last_input_ms) {
  const bool present = presence_.Check(now_ms, last_input_ms);
  away_ms_ += static_cast<std::uint32_t>(now_ms - previous_ms_);  // the ticks wrap
  previous_ms_ = now_ms;
  if (present) away_ms_ = 0;
  if (!on_) return Next::Wait;
  if (run_) {
    if (!own_run_ || !present) return Next::Wait;
    own_run_ = false;
    return Next::Stop;
  }
  return static_cast<double>(away_ms_) >= minutes_ * 60000 ? Next::Start : Next::Wait;
}

double ParseAutoIdleMinutes(std::string_view text) {
  text = TrimBlanks(text);
  double minutes = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
  if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(minutes) || minutes <= 0) return 0;
  return std::clamp(minutes, AutoIdle::kShortestMinutes, AutoIdle::kLongestMinutes);
}

std::string MinutesText(double minutes) {
  // In thousandths, which the file keeps: "10", "0.1", "2.25". (The library's own formatting
  // of a double would bring in an import that Windows XP lacks.)
  const long long thousandths = std::llround(minutes * 1000);
  std::string text = std::to_string(thousandths / 1000);
  if (const long long rest = thousandths % 1000) {
    std::string digits = std::to_string(1000 + rest).substr(1);
    digits.erase(digits.find_last_not_of('0') + 1);
    text += "." + digits;
  }
  return text;
}

double ReadAutoIdle(SettingsStore settings) {
  return ParseAutoIdleMinutes(ReadSetting(settings.profile, "options", "autoidle", SettingsFile(settings.process)));
}

WriteResult WriteAutoIdle(SettingsStore settings, double minutes) {
  // Through the profile file itself: the key is written as the file shows it, in lower case.
  return settings.profile.WritePrivateProfileStringA("options", "autoidle", MinutesText(minutes),
                                                     SettingsFile(settings.process));
}

}  // namespace zantic
