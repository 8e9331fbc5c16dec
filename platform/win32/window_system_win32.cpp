#include "platform/win32/window_system_win32.h"

#include <cmath>
#include <memory>
#include <vector>

#include "platform/win32/text_encoding.h"

namespace zantic::win32 {
namespace {

HWND H(Hwnd window) { return reinterpret_cast<HWND>(window); }
Hwnd ToHwnd(HWND window) { return reinterpret_cast<Hwnd>(window); }

bool OwnThread(HWND window) {
  return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

LRESULT Win32WindowSystem::Call(HWND window, std::function<LRESULT()> call) {
  if (OwnThread(window)) return call();
  return sender_.Run(std::move(call)).value_or(0);
}

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
  HWND h = H(window);
  return Call(h, [h, msg, wparam, lparam] { return ::SendMessageA(h, msg, wparam, lparam); });
}

std::intptr_t Win32WindowSystem::SendTextMessageA(Hwnd window, unsigned msg,
                                                  std::uintptr_t wparam, std::string_view text) {
  if (window == kNoWindow) return 0;
  HWND h = H(window);
  // The text lives with the call: a call stuck past its bound still reads it later.
  auto ansi = std::make_shared<std::string>(Utf8ToAnsi(text));
  return Call(h, [h, msg, wparam, ansi] {
    return ::SendMessageA(h, msg, wparam, reinterpret_cast<LPARAM>(ansi->c_str()));
  });
}

void Win32WindowSystem::PostMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                     std::intptr_t lparam) {
  if (window == kNoWindow) return;
  ::PostMessageA(H(window), msg, wparam, lparam);
}

int Win32WindowSystem::GetWindowTextLengthA(Hwnd window) {
  if (window == kNoWindow) return 0;
  HWND h = H(window);
  return static_cast<int>(Call(h, [h] { return LRESULT{::GetWindowTextLengthA(h)}; }));
}

std::string Win32WindowSystem::GetWindowTextA(Hwnd window, int size) {
  if (window == kNoWindow || size <= 0) return {};
  HWND h = H(window);
  auto buffer = std::make_shared<std::vector<char>>(static_cast<std::size_t>(size), '\0');
  const LRESULT n = Call(h, [h, buffer] {
    return LRESULT{::GetWindowTextA(h, buffer->data(), static_cast<int>(buffer->size()))};
  });
  if (n <= 0) return {};
  return AnsiToUtf8(std::string_view(buffer->data(), static_cast<std::size_t>(n)));
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

}  // namespace zantic::win32
