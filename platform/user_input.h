// When the user last touched the keyboard or the mouse, anywhere in the session (only the
// time is known: nothing of what was typed or where the mouse went), and the local time.
#pragma once

#include <cstdint>

namespace zantic {

class UserInput {
 public:
  virtual ~UserInput() = default;
  // The system's millisecond tick now, and at the user's last input (it wraps after about
  // 49 days: compare by unsigned difference).
  virtual std::uint32_t TickMs() = 0;
  virtual std::uint32_t LastInputTickMs() = 0;
  // The local time of day, in minutes since midnight.
  virtual int MinuteOfDay() = 0;
};

}  // namespace zantic
