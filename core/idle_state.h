// The idle state record: everything an idle run needs between button clicks.
#pragma once

#include <cstdint>
#include <string>

namespace zantic {

enum class IdleMode { None, Regular, Link };

struct IdleState {
  IdleMode Mode = IdleMode::None;
  bool Running = false;
  // Completed minutes of the current run, as plain decimal digits.
  std::string Minutes = "0";
  std::string Reason;
  std::string LinkDescription;
  std::string LinkUrl;
  // From an accepted Start until its run has posted its off-idle line: one run at a time.
  bool RunUnderWay = false;
  // Runs accepted so far: the number of the current or last one.
  std::uint64_t RunNumber = 0;
};

}  // namespace zantic
