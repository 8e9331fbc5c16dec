#include "ui/win32/tray.h"

#include <algorithm>
#include <string>

#include "core/texts.h"
#include "platform/win32/later_windows.h"
#include "platform/win32/text_encoding.h"
#include "ui/win32/window_messages.h"

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

// The items, each with its check mark and its submenu; a line above the first of idling
// by itself and above "Exit". DestroyMenu takes the submenus along.
void AppendTrayItems(HMENU menu, const std::vector<TrayMenuItem>& items) {
  for (const TrayMenuItem& item : items) {
    if (item.command == TrayCommand::Exit || item.command == TrayCommand::IdleByItself) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED) | (item.checked ? MF_CHECKED : MF_UNCHECKED);
    UINT_PTR id = static_cast<UINT_PTR>(item.command);
    if (!item.submenu.empty()) {
      HMENU submenu = CreatePopupMenu();
      AppendTrayItems(submenu, item.submenu);
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(submenu);
    }
    AppendMenuW(menu, flags, id, Utf8ToWide(item.text).c_str());
  }
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

bool Win32Tray::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kTrayMessage) {
    OnNews(wparam, lparam);
    return true;
  }
  if (msg == TaskbarCreatedMessage()) {
    added_ = false;
    Add();
    return true;
  }
  return false;
}

// The shell's news of the icon: a selection by the mouse or the keyboard, the context
// menu, a click on the balloon.
void Win32Tray::OnNews(WPARAM wparam, LPARAM lparam) {
  if (!logic_) return;
  const News news = Read(wparam, lparam);
  switch (news.event) {
    case NIN_SELECT:
    case NIN_KEYSELECT:
      logic_->Tray_Click();
      break;
    case WM_CONTEXTMENU:
      ShowMenu(news.at);
      break;
    case NIN_BALLOONUSERCLICK:
      logic_->Tray_BalloonClick();
      break;
  }
}

// The menu the logic describes, at the point of the click, owned by the main window; the
// chosen command goes back to the logic once the menu has closed.
void Win32Tray::ShowMenu(POINT at) {
  const std::vector<TrayMenuItem> items = logic_->TrayMenu();
  if (items.empty()) return;
  HMENU menu = CreatePopupMenu();
  AppendTrayItems(menu, items);
  // The menu closes when the user clicks elsewhere only if the window is in front.
  SetForegroundWindow(data_.hWnd);
  menu_open_ = true;
  const int chosen =
      TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, data_.hWnd, nullptr);
  menu_open_ = false;
  PostMessageW(data_.hWnd, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (chosen > 0) logic_->Tray_Command(static_cast<TrayCommand>(chosen));
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
