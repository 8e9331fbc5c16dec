// The port of the AOL client's windows over user32. Texts cross into the ANSI code page
// here. Every call is made as it comes, on the caller's thread: the program's logic sends
// to the AOL client only from its send queue's thread.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/text_range_layout.h"
#include "platform/window_system.h"

namespace zantic::win32 {

class Win32WindowSystem final : public WindowSystem {
 public:
  Win32WindowSystem() = default;
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  Hwnd FindWindowA(std::string_view cls, std::optional<std::string_view> caption) override;
  Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view cls,
                     std::optional<std::string_view> caption) override;
  int GetWindowTextLengthA(Hwnd window) override;
  std::string GetWindowTextA(Hwnd window, int size) override;
  void PostMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) override;
  std::intptr_t SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                             std::intptr_t lparam) override;
  std::intptr_t SendTextMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                 std::string_view text) override;
  std::string SendGetTextA(Hwnd window) override;
  std::intptr_t SendTextMessageW(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                 std::string_view text) override;
  std::string SendGetTextW(Hwnd window) override;
  bool IsWindowUnicode(Hwnd window) override;
  // Keeps what it learnt of the last box it read (its process, memory lent there, its
  // character set), so one instance serves one reading thread.
  std::optional<std::u16string> ReadRichText(Hwnd box, long from) override;

 private:
  // Memory lent in the box's process: EM_GETTEXTRANGE writes there, and we copy it back.
  struct Lent {
    HWND box = nullptr;  // the box whose process and character set are known
    bool unicode = true;
    DWORD pid = 0;
    HANDLE process = nullptr;
    std::optional<TextRangeLayout> layout;  // nothing: that process's boxes are read whole
    void* range = nullptr;  // the TEXTRANGE, in the process's own layout, followed by the text
    void* text = nullptr;
    std::size_t chars = 0;
    long from = -1;  // the start of the range last written there
  };
  bool Lend(HWND box, std::size_t chars);
  void Unlend();
  void Release();
  std::optional<std::u16string> Fail();
  std::optional<std::u16string> ReadWhole(HWND box, long from);
  Lent lent_;
};

}  // namespace zantic::win32
