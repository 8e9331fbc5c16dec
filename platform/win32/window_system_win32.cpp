#include "platform/win32/window_system_win32.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/win32/text_encoding.h"

namespace zantic::win32 {
namespace {

HWND H(Hwnd window) { return reinterpret_cast<HWND>(window); }
Hwnd ToHwnd(HWND window) { return reinterpret_cast<Hwnd>(window); }

}  // namespace

Hwnd Win32WindowSystem::FindWindowA(std::string_view cls,
                                    std::optional<std::string_view> caption) {
  const std::string ansi_cls = Utf8ToAnsi(cls);
  const std::string ansi_caption = caption ? Utf8ToAnsi(*caption) : std::string();
  return ToHwnd(::FindWindowA(ansi_cls.c_str(), caption ? ansi_caption.c_str() : nullptr));
}

Hwnd Win32WindowSystem::FindWindowExA(Hwnd parent, Hwnd after, std::string_view cls,
                                      std::optional<std::string_view> caption) {
  // A lookup under a window that was not found finds nothing (user32 would search the
  // desktop's top-level windows instead).
  if (parent == kNoWindow) return kNoWindow;
  const std::string ansi_cls = Utf8ToAnsi(cls);
  const std::string ansi_caption = caption ? Utf8ToAnsi(*caption) : std::string();
  return ToHwnd(::FindWindowExA(H(parent), H(after), ansi_cls.c_str(),
                                caption ? ansi_caption.c_str() : nullptr));
}

std::intptr_t Win32WindowSystem::SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                              std::intptr_t lparam) {
  if (window == kNoWindow) return 0;
  return ::SendMessageA(H(window), msg, wparam, lparam);
}

std::intptr_t Win32WindowSystem::SendTextMessageA(Hwnd window, unsigned msg,
                                                  std::uintptr_t wparam, std::string_view text) {
  if (window == kNoWindow) return 0;
  const std::string ansi = Utf8ToAnsi(text);
  return ::SendMessageA(H(window), msg, wparam, reinterpret_cast<LPARAM>(ansi.c_str()));
}

void Win32WindowSystem::PostMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                     std::intptr_t lparam) {
  if (window == kNoWindow) return;
  ::PostMessageA(H(window), msg, wparam, lparam);
}

int Win32WindowSystem::GetWindowTextLengthA(Hwnd window) {
  if (window == kNoWindow) return 0;
  return ::GetWindowTextLengthA(H(window));
}

std::string Win32WindowSystem::GetWindowTextA(Hwnd window, int size) {
  if (window == kNoWindow || size <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(size), '\0');
  const int n = ::GetWindowTextA(H(window), buffer.data(), size);
  if (n <= 0) return {};
  return AnsiToUtf8(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
}

std::string Win32WindowSystem::SendGetTextA(Hwnd window) {
  if (window == kNoWindow) return {};
  HWND h = H(window);
  const LRESULT length = ::SendMessageA(h, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT n = ::SendMessageA(h, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  if (n <= 0) return {};
  return AnsiToUtf8(std::string_view(buffer.data(), std::min<std::size_t>(static_cast<std::size_t>(n), length)));
}

void Win32WindowSystem::SetWindowPos(Hwnd window, Hwnd insert_after, int x, int y, int cx,
                                     int cy, unsigned flags) {
  ::SetWindowPos(H(window), H(insert_after), x, y, cx, cy, flags);
}

void Win32WindowSystem::ReleaseCapture() { ::ReleaseCapture(); }

double Win32WindowSystem::TwipsPerPixel(HWND window) {
  UINT dpi = 0;
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi && window) dpi = get_dpi(window);
  if (dpi == 0) {
    HDC dc = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
  }
  return 1440.0 / (dpi ? dpi : 96);
}

double Win32WindowSystem::GetWindowTop(Hwnd window) {
  RECT r{};
  GetWindowRect(H(window), &r);
  return r.top * TwipsPerPixel(H(window));
}

void Win32WindowSystem::SetWindowTop(Hwnd window, double twips) {
  HWND h = H(window);
  RECT r{};
  GetWindowRect(h, &r);
  const int top = static_cast<int>(std::lround(twips / TwipsPerPixel(h)));
  ::SetWindowPos(h, nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(h);
}

void Win32WindowSystem::MoveWithMouse(Hwnd window, MouseButton button) {
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
