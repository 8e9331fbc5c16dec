// The window that shows the user what was said to them while they were away.
#pragma once

#include <string_view>

namespace zantic {

class DigestView {
 public:
  virtual ~DigestView() = default;
  // Opens the window (or brings it back to the front) with a heading and a text of one line
  // per mention.
  virtual void ShowDigest(std::string_view heading, std::string_view lines) = 0;
};

}  // namespace zantic
