// The stand-in's machine-readable log: one JSON object per line, written and flushed at
// once, each with a monotonic timestamp in milliseconds ("t"). Safe to call from any thread.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace aolsim {

// A field value: a UTF-8 text (written as a JSON string) or a number.
class LogValue {
 public:
  LogValue(std::string_view text) : text_(text) {}
  LogValue(const std::string& text) : text_(text) {}
  LogValue(const char* text) : text_(text) {}
  static LogValue Number(double value);
  const std::string& text() const { return text_; }
  bool is_number() const { return number_; }

 private:
  LogValue() = default;
  std::string text_;
  bool number_ = false;
};

// Opens (truncates) the log file; with an empty path the log goes nowhere. False when the
// file could not be opened.
bool OpenLog(const std::wstring& path);

// Writes {"t":<ms>,"event":"<event>", <fields...>}.
void Log(std::string_view event,
         std::initializer_list<std::pair<std::string_view, LogValue>> fields = {});

// Monotonic milliseconds since the stand-in started.
double NowMs();

// A JSON string literal (quoted, escaped) for a UTF-8 text.
std::string JsonString(std::string_view utf8);

}  // namespace aolsim
