#include "core/profile_file.h"

#include "core/ini_text.h"
#include "platform/text.h"

namespace zantic {

SettingsText DecodeSettings(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    std::u16string utf16((bytes.size() - 2) / 2, u'\0');
    for (std::size_t i = 0; i < utf16.size(); ++i) {
      utf16[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                       static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
    }
    return {SettingsText::Utf16, Utf16ToUtf8(utf16)};
  }
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return {SettingsText::Utf8, std::string(bytes.substr(3))};
  return {SettingsText::Ansi, std::string(bytes)};
}

std::string EncodeSettings(const SettingsText& text) {
  switch (text.encoding) {
    case SettingsText::Utf16: {
      std::string bytes = "\xFF\xFE";
      for (char16_t c : Utf8ToUtf16(text.text)) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
      }
      return bytes;
    }
    case SettingsText::Utf8: return "\xEF\xBB\xBF" + text.text;
    case SettingsText::Ansi: break;
  }
  return text.text;
}

std::string ProfileFile::GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                                  std::string_view default_value, std::size_t size,
                                                  std::string_view file) {
  if (size == 0) return {};
  const FileBytes read = files_.ReadWholeFile(file);
  if (read.status == FileBytes::Read) {
    const SettingsText decoded = DecodeSettings(read.bytes);
    const bool ansi = decoded.encoding == SettingsText::Ansi;
    auto in_file = [&](std::string_view text) { return ansi ? code_page_.ToAnsi(text) : std::string(text); };
    if (auto found = FindIniValue(decoded.text, in_file(section), in_file(key))) {
      // As from a C buffer: the value ends at a NUL, and the buffer holds size - 1 characters.
      const std::string_view raw = std::string_view(*found).substr(0, found->find('\0'));
      if (ansi) return code_page_.FromAnsi(raw.substr(0, size - 1));
      return std::string(Utf8Prefix(raw, size - 1));
    }
  }
  return std::string(Utf8Prefix(default_value, size - 1));
}

WriteResult ProfileFile::WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                                    std::string_view value, std::string_view file) {
  const FileBytes read = files_.ReadWholeFile(file);
  // There but unreadable: never overwrite what we cannot keep.
  if (read.status == FileBytes::Unreadable) return WriteResult::FileUnreadable;
  SettingsText decoded = DecodeSettings(read.bytes);
  // UTF-16 that does not convert back to the same bytes (half a surrogate pair, an odd
  // byte at the end) would lose bytes in the rewrite: such a file is left as it is.
  if (EncodeSettings(decoded) != read.bytes) return WriteResult::FileUnconvertible;
  const bool ansi = decoded.encoding == SettingsText::Ansi;
  auto in_file = [&](std::string_view text) { return ansi ? code_page_.ToAnsi(text) : std::string(text); };
  decoded.text = SetIniValue(decoded.text, in_file(section), in_file(key), in_file(value));
  return files_.ReplaceWholeFile(file, EncodeSettings(decoded));
}

}  // namespace zantic
