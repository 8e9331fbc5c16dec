// The window-system port over user32. Texts cross into the ANSI code page here.
// Messages to windows of other threads (the AOL client's) go through a BoundedSender.
#pragma once

#include "platform/ports.h"
#include "platform/win32/bounded_sender.h"

namespace zantic::win32 {

class Win32WindowSystem : public WindowSystem {
 public:
  static constexpr DWORD kSendBoundMs = 2000;
  explicit Win32WindowSystem(DWORD send_bound_ms = kSendBoundMs) : sender_(send_bound_ms) {}

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
  void SetWindowPos(Hwnd window, Hwnd insert_after, int x, int y, int cx, int cy,
                    unsigned flags) override;
  void ReleaseCapture() override;
  double GetWindowTop(Hwnd window) override;
  void SetWindowTop(Hwnd window, double twips) override;

  // Twips per pixel of the window's display (15 at 96 DPI).
  static double TwipsPerPixel(HWND window);

 private:
  // Runs `call` directly for our own thread's windows, bounded for everyone else's.
  LRESULT Call(HWND window, std::function<LRESULT()> call);

  BoundedSender sender_;
};

}  // namespace zantic::win32
