// The real main window Form1: a frameless popup with a background picture, label buttons,
// three edit boxes, the logo box and a separator line. It creates and paints the controls,
// implements the FormControls port over them, and turns the platform's events into calls
// of the window's logic (ui/form1.h). It decides nothing itself.
#pragma once

#include <windows.h>

#include <array>
#include <deque>
#include <functional>
#include <vector>

#include "aol/transcript.h"
#include "platform/form_controls.h"
#include "ui/form1.h"
#include "ui/win32/base_window.h"
#include "ui/win32/controls.h"
#include "ui/win32/gdi.h"
#include "ui/win32/pictures.h"
#include "ui/win32/tray.h"

namespace zantic::win32 {

class Form1Window final : public BaseWindow<Form1Window>, public FormControls {
 public:
  static constexpr wchar_t kClassName[] = L"ZanticIdleForm1";

  // The child-window identifier of each control (GetDlgItem finds it by this).
  static constexpr int ControlId(Control control) { return 100 + static_cast<int>(control); }

  // The window message that announces new chat-room lines: the window then takes them from
  // the chat-line source and hands them to the logic's Chat1_ChatLine one by one, in order.
  // It carries nothing itself.
  static constexpr UINT kChatLineMessage = WM_APP + 1;

  // Creates the window and its controls, hidden, at the display's DPI.
  explicit Form1Window(HINSTANCE instance);
  ~Form1Window() override;

  // The logic that receives the window's events; events before this are ignored.
  void Attach(Form1& logic) { logic_ = &logic; }
  // The tray icon whose clicks come to this window.
  void AttachTray(Win32Tray& tray) { tray_ = &tray; }

  // Registered: another copy of the program, started in this session, asks this one to
  // bring its window back. Sent, and answered with the logic's CopyAnswer (0 while the
  // logic is not attached yet).
  static UINT AnotherCopyMessage();

  // The first showing: centred on the screen, activated, the focus on the first control in
  // the tab order that can take it.
  void ShowFirstTime();

  // Where the lines announced by kChatLineMessage come from (the chat scanner's
  // TakeLines); called on the user-interface thread.
  void SetChatLineSource(std::function<std::vector<ChatLineReport>()> take_lines) {
    take_lines_ = std::move(take_lines);
  }

  // The event loop's first look at each message: Tab and Shift+Tab move the focus among
  // the edit boxes and the logo. True when the message was handled.
  bool PreTranslate(MSG& msg);
  // Whether the window waits on the user: its tray menu is open, or a box it owns is up
  // (the window is disabled then). Nothing is started by itself inside such a wait: the
  // menu's or the box's own loop would stand still until the run ended.
  bool WaitsOnTheUser() const { return menu_open_ || !IsWindowEnabled(window_); }

  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);

  // FormControls.
  Hwnd FormWindow() override;
  void SetVisible(Control control, bool visible) override;
  bool IsVisible(Control control) override;
  void SetEnabled(Control control, bool enabled) override;
  bool IsEnabled(Control control) override;
  std::string GetText(Control control) override;
  void SetText(Control control, std::string_view text) override;
  void HideForm() override;
  void ShowForm() override;
  bool IsFormShown() override;

 private:
  bool menu_open_ = false;
  static constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::Line1) + 1;
  static constexpr std::size_t kLabelCount = static_cast<std::size_t>(Control::Label14) + 1;

  void CreateControls();
  HWND ControlWindow(Control control) const;
  // The topmost visible control (the line excepted) under a point of the client area, or
  // nullptr.
  HWND ControlAt(POINT client_point) const;
  void OnPaint();
  void OnCommand(WPARAM wparam);
  void OnMouseDown(UINT msg, LPARAM lparam);
  bool OnSetCursor(WPARAM wparam, LPARAM lparam, LRESULT& result);
  LRESULT OnCtlColor(WPARAM wparam, LPARAM lparam);
  bool OnActivate(WPARAM wparam);
  void OnChatLines();
  void OnTray(WPARAM wparam, LPARAM lparam);
  void TrayMenu(POINT at);
  void MoveFocus(bool backwards);

  HINSTANCE instance_;
  UINT dpi_ = 96;
  Form1* logic_ = nullptr;
  Win32Tray* tray_ = nullptr;
  WindowClass form_class_, label_class_, picture_class_, line_class_;
  Picture background_, logo_;
  Font label_font_, box_font_;
  Brush box_brush_;
  std::array<Label, kLabelCount> labels_;
  PictureBox logo_box_;
  Line line_;
  std::array<HWND, kControlCount> controls_{};
  HWND last_focus_ = nullptr;

  std::function<std::vector<ChatLineReport>()> take_lines_;
  std::deque<ChatLineReport> chat_lines_;
};

}  // namespace zantic::win32
