#include "ui/win32/controls.h"

#include <oleacc.h>

#include <string>

#include "ui/win32/gdi.h"
#include "ui/win32/label_accessible.h"
#include "ui/win32/window_messages.h"

namespace zantic::win32 {
namespace {

constexpr COLORREF kLabelBack = RGB(0, 0, 0);
constexpr COLORREF kLabelText = RGB(0, 255, 0);
constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPSIBLINGS;

HINSTANCE InstanceOf(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)); }

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Fills the window with one colour, in its paint cycle.
void FillWith(HWND window, COLORREF colour, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
}

}  // namespace

// --- Label -------------------------------------------------------------------------------

HWND Label::Create(HWND parent, int id, const wchar_t* caption, const RECT& rect, HCURSOR pointer, bool button,
                   HFONT font, bool visible) {
  pointer_ = pointer;
  button_ = button;
  font_ = font;
  return CreateWindowOf(kClassName, 0, caption, kChildStyle | (visible ? WS_VISIBLE : 0), rect, parent, id,
                        InstanceOf(parent));
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wparam);
      if (LOWORD(lparam)) InvalidateRect(window_, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
      const LRESULT result = Default(msg, wparam, lparam);
      InvalidateRect(window_, nullptr, TRUE);
      return result;
    }
    case WM_ENABLE:
      InvalidateRect(window_, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole label
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lparam) != HTCLIENT || !pointer_) break;
      SetCursor(pointer_);
      return TRUE;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(window_);
      return 0;
    case WM_LBUTTONDBLCLK:
      // The second press of a double-click (within the system's double-click time and
      // distance) is a double-click, which no label handles: it is not a second click.
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(lparam);
      return 0;
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    case WM_GETOBJECT:
      if (static_cast<LONG>(lparam) == OBJID_CLIENT) {
        const LRESULT object = LabelAccessibleObject(window_, button_, wparam);
        if (object > 0) return object;  // failure: the platform describes the window itself
      }
      break;
    case kLabelDoDefaultAction:
      // A press from assistive technology: a click, if a click could happen now.
      if (button_ && IsWindowVisible(window_) && IsWindowEnabled(window_)) Clicked();
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return 0;  // a label is not the window's surface: these start nothing
  }
  return Default(msg, wparam, lparam);
}

void Label::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  FillWith(window_, kLabelBack, dc);
  RECT client;
  GetClientRect(window_, &client);
  HGDIOBJ old_font = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  const std::wstring text = TextOf(window_);
  if (IsWindowEnabled(window_)) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelText);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    // The platform's look of disabled text: embossed in the 3-D highlight and shadow colours.
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()), static_cast<WPARAM>(text.size()), 0, 0,
               client.right, client.bottom, DST_TEXT | DSS_DISABLED);
  }
  SelectObject(dc, old_font);
  EndPaint(window_, &ps);
}

void Label::OnLButtonUp(LPARAM lparam) {
  if (!pressed_) return;
  pressed_ = false;
  RECT client;
  GetClientRect(window_, &client);
  const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  // Capture goes before the click is reported: its handler may run for a long time.
  ReleaseCapture();
  if (PtInRect(&client, at)) Clicked();
}

void Label::Clicked() {
  SendMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), kLabelClicked),
               reinterpret_cast<LPARAM>(window_));
}

// --- PictureBox ----------------------------------------------------------------------------

HWND PictureBox::Create(HWND parent, int id, HBITMAP picture, const RECT& rect, bool visible) {
  picture_ = picture;
  return CreateWindowOf(kClassName, 0, L"", kChildStyle | WS_TABSTOP | (visible ? WS_VISIBLE : 0), rect, parent, id,
                        InstanceOf(parent));
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(window_);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return 0;
  }
  return Default(msg, wparam, lparam);
}

void PictureBox::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  FillWith(window_, RGB(0, 0, 0), dc);
  Blit(dc, 0, 0, picture_);
  EndPaint(window_, &ps);
}

// --- Line ------------------------------------------------------------------------------------

HWND Line::Create(HWND parent, int id, COLORREF colour, const RECT& rect) {
  colour_ = colour;
  return CreateWindowOf(kClassName, 0, L"", kChildStyle | WS_VISIBLE, rect, parent, id, InstanceOf(parent));
}

LRESULT Line::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint();
      return 0;
  }
  return Default(msg, wparam, lparam);
}

void Line::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  FillWith(window_, colour_, dc);
  EndPaint(window_, &ps);
}

}  // namespace zantic::win32
