// The main window Form1: visibility, enabled state and text of its controls, and hide/show
// of the window as a whole.
#pragma once

#include <string>
#include <string_view>

#include "platform/window_handle.h"

namespace zantic {

// The controls of the main window, by their form names.
enum class Control {
  Label1, Label2, Label3, Label4, Label5, Label6, Label7,
  Label8, Label9, Label10, Label11, Label12, Label13, Label14,
  Text1, Text2, Text3, Picture1, Line1,
};

class FormControls {
 public:
  virtual ~FormControls() = default;
  virtual Hwnd FormWindow() = 0;
  virtual void SetVisible(Control control, bool visible) = 0;
  virtual bool IsVisible(Control control) = 0;
  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual bool IsEnabled(Control control) = 0;
  virtual std::string GetText(Control control) = 0;
  virtual void SetText(Control control, std::string_view text) = 0;
  virtual void HideForm() = 0;
  // Shows the window modeless, with no owner window.
  virtual void ShowForm() = 0;
  virtual bool IsFormShown() = 0;
};

}  // namespace zantic
