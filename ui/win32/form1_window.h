// The real main window Form1: a frameless popup with a background picture, on which its
// controls lie (ui/win32/form1_controls.h). It registers its class, scales to the display's
// DPI, paints, moves the keyboard focus, and turns the platform's events into calls of the
// window's logic (ui/form1.h); the tray's and the chat scanner's messages go to them
// (ui/win32/tray.h, ui/win32/chat1.h). It decides nothing itself.
#pragma once

#include <windows.h>

#include "ui/form1.h"
#include "ui/win32/base_window.h"
#include "ui/win32/chat1.h"
#include "ui/win32/form1_controls.h"
#include "ui/win32/gdi.h"
#include "ui/win32/pictures.h"
#include "ui/win32/tray.h"

namespace zantic::win32 {

class Form1Window final : public BaseWindow<Form1Window> {
 public:
  static constexpr wchar_t kClassName[] = L"ZanticIdleForm1";
  static constexpr int ControlId(Control control) { return Form1Controls::ControlId(control); }

  // Creates the window and its controls, hidden, at the display's DPI.
  explicit Form1Window(HINSTANCE instance);
  ~Form1Window();

  // The logic that receives the window's events; events before this are ignored.
  void Attach(Form1& logic) { logic_ = &logic; }
  // The tray icon and the chat scanner's inbox, whose messages come to this window.
  void AttachTray(Win32Tray& tray) { tray_ = &tray; }
  void AttachInbox(ChatInbox& inbox) { inbox_ = &inbox; }

  FormControls& Controls() { return controls_; }

  // The first showing: centred on the screen, activated, the focus on the first control in
  // the tab order that can take it.
  void ShowFirstTime();

  // The event loop's first look at each message: Tab and Shift+Tab move the focus among
  // the edit boxes and the logo. True when the message was handled.
  bool PreTranslate(MSG& msg);
  // Whether the window waits on the user: its tray menu is open, or a box it owns is up
  // (the window is disabled then). Nothing is started by itself inside such a wait: the
  // menu's or the box's own loop would stand still until the run ended.
  bool WaitsOnTheUser() const { return (tray_ && tray_->MenuOpen()) || !IsWindowEnabled(window_); }

  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  void OnPaint();
  void OnCommand(WPARAM wparam);
  void OnMouseDown(UINT msg, LPARAM lparam);
  bool OnSetCursor(WPARAM wparam, LPARAM lparam, LRESULT& result);
  LRESULT OnCtlColor(WPARAM wparam, LPARAM lparam);
  bool OnActivate(WPARAM wparam);

  UINT dpi_ = 96;
  Form1* logic_ = nullptr;
  Win32Tray* tray_ = nullptr;
  ChatInbox* inbox_ = nullptr;
  WindowClass form_class_;
  Form1Controls controls_;
  Picture background_;
  Brush box_brush_;
  HWND last_focus_ = nullptr;
};

}  // namespace zantic::win32
