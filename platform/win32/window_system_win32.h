// The window-system port over user32. Texts cross into the ANSI code page here. Every call
// is made as it comes, on the caller's thread: the program's logic sends to the AOL client
// only from its send queue's thread.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace zantic::win32 {

class Win32WindowSystem final : public WindowSystem {
 public:
  Hwnd FindWindowA(std::string_view cls, std::optional<std::string_view> caption) override;
  Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view cls,
                     std::optional<std::string_view> caption) override;
  std::intptr_t SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                             std::intptr_t lparam) override;
  std::intptr_t SendTextMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                 std::string_view text) override;
  void PostMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                    std::intptr_t lparam) override;
  int GetWindowTextLengthA(Hwnd window) override;
  std::string GetWindowTextA(Hwnd window, int size) override;
  std::string SendGetTextA(Hwnd window) override;
  void SetWindowPos(Hwnd window, Hwnd insert_after, int x, int y, int cx, int cy,
                    unsigned flags) override;
  void ReleaseCapture() override;
  double GetWindowTop(Hwnd window) override;
  void SetWindowTop(Hwnd window, double twips) override;
  void MoveWithMouse(Hwnd window, MouseButton button) override;

  // Twips per pixel of the window's display (15 at 96 DPI).
  static double TwipsPerPixel(HWND window);
};

}  // namespace zantic::win32
