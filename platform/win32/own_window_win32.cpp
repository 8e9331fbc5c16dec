#include "platform/win32/own_window_win32.h"

#include <cmath>

#include "platform/win32/later_windows.h"

namespace zantic::win32 {
namespace {

HWND H(Hwnd window) { return reinterpret_cast<HWND>(window); }

}  // namespace

void Win32OwnWindow::SetWindowPos(Hwnd window, Hwnd insert_after, int x, int y, int cx, int cy,
                                  unsigned flags) {
  ::SetWindowPos(H(window), H(insert_after), x, y, cx, cy, flags);
}

void Win32OwnWindow::ReleaseCapture() { ::ReleaseCapture(); }

std::intptr_t Win32OwnWindow::SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                           std::intptr_t lparam) {
  if (window == kNoWindow) return 0;
  return ::SendMessageA(H(window), msg, wparam, lparam);
}

double Win32OwnWindow::TwipsPerPixel(HWND window) {
  UINT dpi = 0;
  // Windows 10 1607 and later; before it, the system's DPI is every window's.
  static auto get_dpi = LaterWindowsFunction<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
  if (get_dpi && window) dpi = get_dpi(window);
  if (dpi == 0) {
    HDC dc = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
  }
  return 1440.0 / (dpi ? dpi : 96);
}

double Win32OwnWindow::GetWindowTop(Hwnd window) {
  RECT r{};
  GetWindowRect(H(window), &r);
  return r.top * TwipsPerPixel(H(window));
}

void Win32OwnWindow::SetWindowTop(Hwnd window, double twips) {
  HWND h = H(window);
  RECT r{};
  GetWindowRect(h, &r);
  const int top = static_cast<int>(std::lround(twips / TwipsPerPixel(h)));
  ::SetWindowPos(h, nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(h);
}

void Win32OwnWindow::MoveWithMouse(Hwnd window, MouseButton button) {
  HWND h = H(window);
  const UINT release = button == MouseButton::Right ? WM_RBUTTONUP : WM_MBUTTONUP;
  POINT grip;
  RECT start;
  GetCursorPos(&grip);
  GetWindowRect(h, &start);
  SetCapture(h);
  // The window follows the pointer; everything else is handled as usual meanwhile.
  MSG msg;
  while (GetCapture() == h) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == release) break;
    if (msg.message == WM_MOUSEMOVE && msg.hwnd == h) {
      POINT at;
      GetCursorPos(&at);
      ::SetWindowPos(h, nullptr, start.left + at.x - grip.x, start.top + at.y - grip.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (GetCapture() == h) ::ReleaseCapture();
}

}  // namespace zantic::win32
