// The profile-file, message-box and process ports over kernel32 and user32.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace zantic::win32 {

// The settings file, read and written as the private-profile calls read and write it, but
// changing nothing of the file beyond the one entry (Wine's own calls rewrite the whole file,
// losing blank lines, spacing and line endings) and replacing it in one step.
class Win32ProfileFile final : public ProfileFile {
 public:
  std::string GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                       std::string_view default_value, std::size_t size,
                                       std::string_view file) override;
  WriteResult WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                         std::string_view value, std::string_view file) override;
};

class Win32MessageBoxes final : public MessageBoxes {
 public:
  // The box's owner: the main window, which is disabled while the box is up.
  HWND owner = nullptr;
  void MessageBoxA(std::string_view text, std::string_view title, unsigned style) override;
};

class Win32Process final : public Process {
 public:
  std::string ProgramDirectory() override;
  void EndProgram() override;
};

}  // namespace zantic::win32
