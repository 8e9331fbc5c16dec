// The settings file, read and written as the platform's private-profile calls read and
// write it: section and key names without regard to case, the first section and the first
// key in it, a value cut to the caller's buffer, the default for anything missing. The
// file's bytes may be plain text in the ANSI code page, or UTF-8 or UTF-16 after a
// byte-order mark; each is read and written back in its own encoding. A write changes the
// one value and leaves every other byte as it was (comments, spacing, line endings, other
// sections: core/ini_text.h), and never rewrites a file whose text would not come back
// byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/file_system.h"

namespace zantic {

class ProfileFile {
 public:
  ProfileFile(FileSystem& files, AnsiCodePage& code_page) : files_(files), code_page_(code_page) {}

  // The characters the call places in a buffer of `size` characters, not counting the
  // terminating NUL; `default_value` when the file, the section or the key is missing.
  std::string GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                       std::string_view default_value, std::size_t size,
                                       std::string_view file);
  // Stores the value, making the file and the section where they are missing.
  WriteResult WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                         std::string_view value, std::string_view file);

 private:
  FileSystem& files_;
  AnsiCodePage& code_page_;
};

// A settings file's text as it is edited: UTF-8 for the files with a byte-order mark, the
// code page's own bytes for plain text.
struct SettingsText {
  enum Encoding { Ansi, Utf8, Utf16 } encoding = Ansi;
  std::string text;
};
SettingsText DecodeSettings(std::string_view bytes);
std::string EncodeSettings(const SettingsText& text);

}  // namespace zantic
