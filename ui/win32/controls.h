// The small windows the main window is built of: text labels that act as buttons, the logo
// box and the separator line. Each paints and translates; none decides anything.
#pragma once

#include <windows.h>

#include "ui/win32/base_window.h"

namespace zantic::win32 {

// The WM_COMMAND notification code a label sends its parent when it is clicked: pressed
// and released with the left button, both on the label.
inline constexpr WORD kLabelClicked = 0;

// A label: opaque black, its caption in green on one line, left-aligned, in its font;
// `pointer` is shown while the mouse is over it. A disabled label draws its caption
// embossed in grey and takes no clicks. The second press of a double-click is no click.
class Label final : public BaseWindow<Label> {
 public:
  static constexpr wchar_t kClassName[] = L"ZanticLabel";
  static constexpr UINT kClassStyle = CS_DBLCLKS;

  // `button`: every label but the title, which is plain text to screen readers.
  HWND Create(HWND parent, int id, const wchar_t* caption, const RECT& rect, HCURSOR pointer, bool button,
              HFONT font, bool visible);
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  void OnPaint();
  void OnLButtonUp(LPARAM lparam);
  void Clicked();

  HCURSOR pointer_ = nullptr;
  bool button_ = false;
  HFONT font_ = nullptr;
  bool pressed_ = false;
};

// The logo box: shows `picture` (not owned) at its top-left corner at the picture's own
// size, cut off at the box's edges. It takes the keyboard focus (on a click too).
class PictureBox final : public BaseWindow<PictureBox> {
 public:
  static constexpr wchar_t kClassName[] = L"ZanticPicture";
  static constexpr UINT kClassStyle = 0;
  HWND Create(HWND parent, int id, HBITMAP picture, const RECT& rect, bool visible);
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  void OnPaint();
  HBITMAP picture_ = nullptr;
};

// A solid line filling its rectangle, drawn above the controls it crosses; mouse presses go
// through it to whatever lies below.
class Line final : public BaseWindow<Line> {
 public:
  static constexpr wchar_t kClassName[] = L"ZanticLine";
  static constexpr UINT kClassStyle = 0;
  HWND Create(HWND parent, int id, COLORREF colour, const RECT& rect);
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  void OnPaint();
  COLORREF colour_ = 0;
};

}  // namespace zantic::win32
