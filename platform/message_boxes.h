// Message boxes.
#pragma once

#include <string_view>

namespace zantic {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the box and returns once the user has dismissed it.
  virtual void MessageBoxA(std::string_view text, std::string_view title, unsigned style) = 0;
};

}  // namespace zantic
