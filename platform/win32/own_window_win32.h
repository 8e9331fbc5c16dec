// The port of the program's own window over user32: where it lies among the topmost
// windows, its top in twips at its display's DPI, and its moves with the mouse.
#pragma once

#include <windows.h>

#include "platform/own_window.h"

namespace zantic::win32 {

class Win32OwnWindow final : public OwnWindow {
 public:
  void SetWindowPos(Hwnd window, Hwnd insert_after, int x, int y, int cx, int cy, unsigned flags) override;
  void ReleaseCapture() override;
  std::intptr_t SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) override;
  double GetWindowTop(Hwnd window) override;
  void SetWindowTop(Hwnd window, double twips) override;
  void MoveWithMouse(Hwnd window, MouseButton button) override;

  // Twips per pixel of the window's display (15 at 96 DPI).
  static double TwipsPerPixel(HWND window);
};

}  // namespace zantic::win32
