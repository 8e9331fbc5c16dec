#include "drive/chat_tap.h"

#include <algorithm>

#include "drive/sim.h"

namespace drive {

// No window: the scanner's announcements go to its own thread's queue, and the lines are
// taken whenever they are asked for.
ChatTap::ChatTap() : scanner_(nullptr, WM_APP) {
  scanner_.StartScanning();
  WaitUntil([&] { return scanner_.HasLooked(); });
}

bool ChatTap::WaitForALook() {
  const unsigned looks = scanner_.Looks();
  return WaitUntil([&] { return scanner_.Looks() > looks; });
}

const std::vector<std::string>& ChatTap::Lines() {
  for (auto& line : scanner_.TakeLines()) lines_.push_back(line.speaker + ":\t" + line.text);
  return lines_;
}

std::vector<std::string> ChatTap::LinesFrom(const std::string& first, std::size_t count,
                                            std::chrono::milliseconds timeout) {
  auto from = [&] {
    const auto& lines = Lines();  // first: it may add lines
    return std::vector<std::string>(std::find(lines.begin(), lines.end(), first), lines.end());
  };
  WaitUntil([&] { return from().size() >= count; }, timeout);
  return from();
}

}  // namespace drive
