// The program's own chat scanner, run in this process: every line it reports, so a test or
// a benchmark can hold them against the lines the stand-in logged.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "ui/win32/chat1.h"

namespace drive {

class ChatTap {
 public:
  // Starts scanning, and returns once the first look is done: what the room held then is
  // history, and every line said from now on is reported.
  ChatTap();
  // Every line reported so far, in order, as the transcript shows it: "speaker:\ttext".
  const std::vector<std::string>& Lines();
  // Returns once the tap has looked again (after some input, say: it is then at its
  // quickest pace).
  bool WaitForALook();
  // The lines from the first that is `first`, once at least `count` of them are in (or
  // after `timeout`).
  std::vector<std::string> LinesFrom(const std::string& first, std::size_t count,
                                     std::chrono::milliseconds timeout = std::chrono::seconds(5));

 private:
  zantic::win32::Chat1 scanner_;
  std::vector<std::string> lines_;
};

}  // namespace drive
