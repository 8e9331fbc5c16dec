#include "platform/text.h"

namespace zantic {

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

namespace {
bool Continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t Utf8Length(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) count += !Continues(c);
  return count;
}

std::string_view Utf8Prefix(std::string_view utf8, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t chars = 0; i < utf8.size() && chars < count; ++chars) {
    ++i;
    while (i < utf8.size() && Continues(utf8[i])) ++i;
  }
  return utf8.substr(0, i);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? char32_t{0xFFFD} : char32_t{c});
    }
  }
  return out;
}

namespace {

// The code point of the UTF-8 sequence at the start of `text` and its length in bytes;
// nothing (a length of 0) when it is no well-formed sequence.
struct Decoded {
  char32_t c = 0;
  std::size_t length = 0;
};

Decoded DecodeUtf8(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t c = 0, least = 0;
  if (lead >= 0xC2 && lead < 0xE0) {
    length = 2, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    length = 3, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    length = 4, c = lead & 0x07, least = 0x10000;
  } else {
    return {};
  }
  if (text.size() < length) return {};
  for (std::size_t k = 1; k < length; ++k) {
    if (!Continues(text[k])) return {};
    c = (c << 6) | (static_cast<unsigned char>(text[k]) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are no characters.
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
  return {c, length};
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const Decoded d = DecodeUtf8(text);
    if (d.length == 0) {
      out += u'\uFFFD';
      text.remove_prefix(1);
      continue;
    }
    if (d.c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((d.c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((d.c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(d.c);
    }
    text.remove_prefix(d.length);
  }
  return out;
}

}  // namespace zantic
