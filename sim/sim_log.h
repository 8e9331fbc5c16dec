// The stand-in's machine-readable log: one JSON object per line, written and flushed at
// once, each with a monotonic timestamp in milliseconds ("t").
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace aolsim {

// Opens (truncates) the log file; with an empty path the log goes nowhere.
void OpenLog(const std::wstring& path);

// Writes {"t":<ms>,"event":"<event>", <fields...>}. Field values are UTF-8 texts.
void Log(std::string_view event,
         std::initializer_list<std::pair<std::string_view, std::string_view>> fields = {});

// Monotonic milliseconds since the stand-in started.
double NowMs();

// A JSON string literal (quoted, escaped) for a UTF-8 text.
std::string JsonString(std::string_view utf8);

}  // namespace aolsim
