// The program's icon in the notification area: added when the program starts, added again
// when the shell restarts (TaskbarCreated), removed when it ends. The shell tells the main
// window of clicks on it (kTrayMessage), and Form1Window hands them to the logic.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "platform/tray_icon.h"

namespace zantic::win32 {

class Win32Tray final : public TrayIcon {
 public:
  // The callback message the shell sends the window; Read tells what it says.
  static constexpr UINT kTrayMessage = WM_APP + 2;

  Win32Tray(HWND window, HICON icon);
  ~Win32Tray() override;
  Win32Tray(const Win32Tray&) = delete;
  Win32Tray& operator=(const Win32Tray&) = delete;

  // The shell restarted: the icon is added again, with its tip.
  void Restore();
  // The message the shell broadcasts when it has restarted.
  static UINT TaskbarCreatedMessage();

  // What a callback message tells, in the form of the shell's version that the icon got:
  // the event (NIN_SELECT, NIN_KEYSELECT, WM_CONTEXTMENU, NIN_BALLOONUSERCLICK, or a mouse
  // message) and where on the screen it happened.
  struct News {
    UINT event;
    POINT at;
  };
  News Read(WPARAM wparam, LPARAM lparam) const;

  void SetTip(std::string_view text) override;
  void ShowBalloon(std::string_view title, std::string_view text) override;
  void Remove() override;

 private:
  void Add();
  NOTIFYICONDATAW data_{};
  bool added_ = false;
  bool version_4_ = false;  // the shell took version 4 (else 3)
};

}  // namespace zantic::win32
