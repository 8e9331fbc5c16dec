#include "ui/win32/tray.h"

#include <algorithm>
#include <string>

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
  Put(data_.szTip, "zantic idle");
  Add();
}

Win32Tray::~Win32Tray() { Remove(); }

UINT Win32Tray::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void Win32Tray::Add() {
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  added_ = Shell_NotifyIconW(NIM_ADD, &data_);
  // Version 4: clicks come as NIN_SELECT and WM_CONTEXTMENU, also from the keyboard.
  data_.uVersion = NOTIFYICON_VERSION_4;
  Shell_NotifyIconW(NIM_SETVERSION, &data_);
}

void Win32Tray::Restore() {
  added_ = false;
  Add();
}

void Win32Tray::SetTip(std::string_view text) {
  Put(data_.szTip, text);
  data_.uFlags = NIF_TIP | NIF_SHOWTIP;
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
