// The system's ANSI code page, which plain-text files and the ANSI forms of the platform's
// calls use.
#pragma once

#include <string>
#include <string_view>

namespace zantic {

class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  // UTF-8 to the code page; a character it lacks becomes its default character ("?").
  virtual std::string ToAnsi(std::string_view utf8) = 0;
  virtual std::string FromAnsi(std::string_view ansi) = 0;
};

}  // namespace zantic
