// Conversions between the program's UTF-8 texts and the platform's encodings.
#pragma once

#include <string>
#include <string_view>

namespace zantic::win32 {

// UTF-8 to the system's ANSI code page; characters the code page lacks become its
// default character.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace zantic::win32
