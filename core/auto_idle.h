// Idling by itself, when the user has asked for it: the program presses Start for a user
// who has gone, and Stop for one who is back, but only for a run it started itself.
//
// It is fed the system's millisecond ticks and the time of the last input at checks made
// every PresenceRule::kCheckSeconds, and says what to do. The user counts as away from the
// last moment they were judged present: by the presence rule (most of the checks of half a
// minute with input), by a click on the program, or by the end of a run. A stray touch of
// the mouse neither stops a run it started nor puts off the start of one, and a run that
// stopped by itself starts again only after the whole delay once more: at most one start
// and one stop in any delay-long span.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/back_nudge.h"
#include "core/settings.h"

namespace zantic {

class AutoIdle {
 public:
  enum class Next { Wait, Start, Stop };
  static constexpr double kDefaultMinutes = 10;
  static constexpr double kShortestMinutes = 0.001, kLongestMinutes = 24 * 60;

  // On with a delay of `minutes`, or off (0) keeping the delay; from `now_ms`, when the user
  // is there (they chose it, or the program has just started).
  void Choose(double minutes, std::uint32_t now_ms);
  bool On() const { return on_; }
  // The delay in force, or the one it would have when turned on.
  double Minutes() const { return minutes_; }

  // The user is there for sure: away time counts from now.
  void UserPresent(std::uint32_t now_ms);
  // A run began: one this class said to start (`by_itself`), or the user's own.
  void RunBegan(std::uint32_t now_ms, bool by_itself);
  void RunEnded(std::uint32_t now_ms);
  // A run under way that the program started and will stop by itself.
  bool OwnRun() const { return own_run_; }

  // A check: with no run under way, Start once the user has been away for the delay; during
  // a run it started itself, Stop once the user is back (said once: a run whose Stop was
  // refused is the user's from then on); Wait otherwise, and always while it is off.
  Next Check(std::uint32_t now_ms, std::uint32_t last_input_ms);

 private:
  PresenceRule presence_;
  double minutes_ = kDefaultMinutes;
  bool on_ = false;
  std::uint64_t away_ms_ = 0;
  std::uint32_t previous_ms_ = 0;
  bool run_ = false, own_run_ = false;
};

// The choice as kept in the settings file, section "options", key "autoidle": a decimal
// number of minutes, fractions allowed (to thousandths). 0, a missing or unreadable entry, a
// negative number or one that is not a number are off; one above a day is a day.
double ParseAutoIdleMinutes(std::string_view text);
// Minutes as the file and the menu show them: "10", "0.5".
std::string MinutesText(double minutes);
double ReadAutoIdle(SettingsStore settings);
// Stores the choice (0: off), changing nothing else in the file.
WriteResult WriteAutoIdle(SettingsStore settings, double minutes);

}  // namespace zantic
