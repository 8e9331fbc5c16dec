// Texts are UTF-8 inside the program. The few things done to them by hand, in one place:
// ASCII case folding (names and commands are ASCII), blanks (a space or a tab: what the
// settings file and screen names pad with), counting and cutting UTF-8 by
// characters, and UTF-8 to and from UTF-16 (the units of the platform's wide texts and of
// its rich text boxes). The ANSI code page is the platform's (platform/code_page.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zantic {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// `text` without the blanks at its ends.
constexpr std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
// Equal but for the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Characters in a UTF-8 text (a byte that does not continue a sequence begins one).
std::size_t Utf8Length(std::string_view utf8);
// The first `count` characters.
std::string_view Utf8Prefix(std::string_view utf8, std::size_t count);

void AppendUtf8(std::string& out, char32_t c);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
// Bytes that are not UTF-8 become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace zantic
