// The controls of the main window Form1: the layout table that places them (in twips, at the
// display's DPI), their creation, and the FormControls port over them: visibility, enabled
// state and text of each, and hide/show of the window as a whole. Also where the controls
// lie (for the window's mouse) and the Tab order among the boxes and the logo.
#pragma once

#include <windows.h>

#include <array>

#include "ui/form_controls.h"
#include "ui/win32/controls.h"
#include "ui/win32/gdi.h"
#include "ui/win32/pictures.h"

namespace zantic::win32 {

class Form1Controls final : public FormControls {
 public:
  // The child-window identifier of each control (GetDlgItem finds it by this).
  static constexpr int ControlId(Control control) { return 100 + static_cast<int>(control); }
  static constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::Line1) + 1;
  static constexpr std::size_t kLabelCount = static_cast<std::size_t>(Control::Label14) + 1;

  // Registers the controls' window classes, loads the logo and makes the fonts for `dpi`.
  Form1Controls(HINSTANCE instance, UINT dpi);

  // Creates the controls on the main window, as the layout table places them.
  void Create(HWND form);
  HWND Window(Control control) const;
  // The topmost visible control (the line excepted) under a point of the window's client
  // area, or nullptr.
  HWND At(POINT client_point) const;
  // Moves the keyboard focus to the next (or previous) box or logo in the Tab order that is
  // shown and enabled; from none, to the first (or last).
  void MoveFocus(bool backwards);

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
  HINSTANCE instance_;
  UINT dpi_;
  HWND form_ = nullptr;
  WindowClass label_class_, picture_class_, line_class_;
  Picture logo_;
  Font label_font_, box_font_;
  std::array<Label, kLabelCount> labels_;
  PictureBox logo_box_;
  Line line_;
  std::array<HWND, kControlCount> windows_{};
};

}  // namespace zantic::win32
