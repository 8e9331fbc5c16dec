// The program's icon in the notification area: added when the program starts, added again
// when the shell restarts (TaskbarCreated), removed when it ends. The shell tells the main
// window of clicks on it (kTrayMessage); the window hands those messages here, and they are
// read and passed on to the logic: a click, the menu (built from the logic's items), a
// click on the balloon.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "platform/tray_icon.h"
#include "ui/form1.h"

namespace zantic::win32 {

class Win32Tray final : public TrayIcon {
 public:
  Win32Tray(HWND window, HICON icon);
  ~Win32Tray() override;
  Win32Tray(const Win32Tray&) = delete;
  Win32Tray& operator=(const Win32Tray&) = delete;

  // The logic that the icon's clicks go to; clicks before this do nothing.
  void Attach(Form1& logic) { logic_ = &logic; }
  // A message of the main window that is the tray's: the shell's news of the icon, or its
  // restart (the icon is then added again, with its tip). False for any other message.
  bool HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
  // Whether the icon's menu is open (its own loop runs until it closes).
  bool MenuOpen() const { return menu_open_; }

  void SetTip(std::string_view text) override;
  void ShowBalloon(std::string_view title, std::string_view text) override;
  void Remove() override;

 private:
  // What a callback message tells, in the form of the shell's version that the icon got:
  // the event (NIN_SELECT, NIN_KEYSELECT, WM_CONTEXTMENU, NIN_BALLOONUSERCLICK, or a mouse
  // message) and where on the screen it happened.
  struct News {
    UINT event;
    POINT at;
  };
  News Read(WPARAM wparam, LPARAM lparam) const;
  void OnNews(WPARAM wparam, LPARAM lparam);
  void ShowMenu(POINT at);
  void Add();
  Form1* logic_ = nullptr;
  bool menu_open_ = false;
  NOTIFYICONDATAW data_{};
  bool added_ = false;
  bool version_4_ = false;  // the shell took version 4 (else 3)
};

}  // namespace zantic::win32
