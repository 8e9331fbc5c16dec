// The small window classes the main window is built of: text labels that act as buttons,
// the logo box and the separator line. Each translates and paints; none decides anything.
#pragma once

#include <windows.h>

namespace zantic::win32 {

inline constexpr wchar_t kLabelClass[] = L"ZanticLabel";
inline constexpr wchar_t kPictureClass[] = L"ZanticPicture";
inline constexpr wchar_t kLineClass[] = L"ZanticLine";

// The WM_COMMAND notification code a label sends its parent when it is clicked: pressed
// and released with the left button, both on the label.
inline constexpr WORD kLabelClicked = 0;

void RegisterControlClasses(HINSTANCE instance);

// A label: opaque black, its caption in green on one line, left-aligned, in the font set
// with WM_SETFONT; `pointer` is shown while the mouse is over it. A disabled label draws
// its caption embossed in grey and takes no clicks.
HWND CreateLabel(HWND parent, int id, const wchar_t* caption, const RECT& rect, HCURSOR pointer,
                 bool visible);

// The logo box: shows `picture` (not owned) at its top-left corner at the picture's own
// size, cut off at the box's edges. It takes the keyboard focus (on a click too).
HWND CreatePictureBox(HWND parent, int id, HBITMAP picture, const RECT& rect, bool visible);

// A solid line filling `rect`, drawn above the controls it crosses; mouse presses go
// through it to whatever lies below.
HWND CreateLine(HWND parent, int id, COLORREF colour, const RECT& rect);

}  // namespace zantic::win32
