#include "ui/win32/tray.h"

#include <algorithm>
#include <string>

#include "core/texts.h"
#include "platform/win32/later_windows.h"
#include "platform/win32/text_encoding.h"

namespace zantic::win32 {
namespace {

// Copies a text into one of the icon's fixed buffers, cut to fit.
template <std::size_t N>
void Put(wchar_t (&buffer)[N], std::string_view utf8) {
  const std::wstring wide = Utf8ToWide(utf8);
  const std::size_t n = std::min(wide.size(), N - 1);
  wide.copy(buffer, n);
  buffer[n] = L'\0';
}

}  // namespace

Win32Tray::Win32Tray(HWND window, HICON icon) {
  data_.cbSize = sizeof data_;
  data_.hWnd = window;
  data_.uID = 1;
  data_.uCallbackMessage = kTrayMessage;
  data_.hIcon = icon;
  Put(data_.szTip, kProgramName);
  Add();
}

Win32Tray::~Win32Tray() { Remove(); }

UINT Win32Tray::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

// Vista on: the whole structure, the standard tooltip asked for (NIF_SHOWTIP), and the
// shell's version 4, in which clicks come as NIN_SELECT and WM_CONTEXTMENU with the place
// they were made, also from the keyboard. Windows XP refuses the larger structure and
// version 4: there the structure at its XP size, and version 3, which tells the same events
// without the place.
void Win32Tray::Add() {
  data_.cbSize = sizeof data_;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  added_ = LaterWindows() && Shell_NotifyIconW(NIM_ADD, &data_);
  if (!added_) {
    data_.cbSize = NOTIFYICONDATAW_V3_SIZE;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    added_ = Shell_NotifyIconW(NIM_ADD, &data_);
  }
  data_.uVersion = NOTIFYICON_VERSION_4;
  version_4_ = data_.cbSize == sizeof data_ && Shell_NotifyIconW(NIM_SETVERSION, &data_);
  if (!version_4_) {
    data_.uVersion = NOTIFYICON_VERSION;
    Shell_NotifyIconW(NIM_SETVERSION, &data_);
  }
}

Win32Tray::News Win32Tray::Read(WPARAM wparam, LPARAM lparam) const {
  if (version_4_) {
    return {LOWORD(lparam), POINT{static_cast<short>(LOWORD(wparam)), static_cast<short>(HIWORD(wparam))}};
  }
  // Version 3: lParam is the event alone (wParam the icon's identifier); it happened where
  // the pointer is.
  News news{static_cast<UINT>(lparam), POINT{}};
  GetCursorPos(&news.at);
  return news;
}

void Win32Tray::Restore() {
  added_ = false;
  Add();
}

void Win32Tray::SetTip(std::string_view text) {
  Put(data_.szTip, text);
  data_.uFlags = version_4_ ? NIF_TIP | NIF_SHOWTIP : NIF_TIP;
  if (added_) Shell_NotifyIconW(NIM_MODIFY, &data_);
}

void Win32Tray::ShowBalloon(std::string_view title, std::string_view text) {
  NOTIFYICONDATAW balloon = data_;
  balloon.uFlags = NIF_INFO;
  Put(balloon.szInfoTitle, title);
  Put(balloon.szInfo, text);
  balloon.dwInfoFlags = NIIF_INFO;
  if (added_) Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

void Win32Tray::Remove() {
  if (added_) Shell_NotifyIconW(NIM_DELETE, &data_);
  added_ = false;
}

}  // namespace zantic::win32
