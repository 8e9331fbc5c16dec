// The one converter to and from the system's ANSI code page (which only the platform
// knows), and the platform's wide texts as the portable UTF-16 of platform/text.h.
#pragma once

#include <string>
#include <string_view>

namespace zantic::win32 {

// UTF-8 to the system's ANSI code page; characters the code page lacks become its
// default character (never a look-alike).
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
std::u16string AnsiToUtf16(std::string_view ansi);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace zantic::win32
