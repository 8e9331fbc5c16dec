// The file-system, code-page, message-box and process ports over kernel32 and user32.
#pragma once

#include <windows.h>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/process.h"
#include "platform/user_input.h"

namespace zantic::win32 {

class Win32FileSystem final : public FileSystem {
 public:
  FileBytes ReadWholeFile(std::string_view path) override;
  WriteResult ReplaceWholeFile(std::string_view path, std::string_view bytes) override;
};

class Win32CodePage final : public AnsiCodePage {
 public:
  std::string ToAnsi(std::string_view utf8) override;
  std::string FromAnsi(std::string_view ansi) override;
};

class Win32MessageBoxes final : public MessageBoxes {
 public:
  // The box's owner: the main window, which is disabled while the box is up.
  HWND owner = nullptr;
  void MessageBoxA(std::string_view text, std::string_view title, unsigned style) override;
};

class Win32UserInput final : public UserInput {
 public:
  std::uint32_t TickMs() override;
  std::uint32_t LastInputTickMs() override;
  int MinuteOfDay() override;
};

class Win32Process final : public Process {
 public:
  std::string ProgramDirectory() override;
  void EndProgram() override;
};

}  // namespace zantic::win32
