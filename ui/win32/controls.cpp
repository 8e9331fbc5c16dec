#include "ui/win32/controls.h"

#include <oleacc.h>

#include <string>

#include "ui/win32/label_accessible.h"

namespace zantic::win32 {
namespace {

constexpr COLORREF kLabelBack = RGB(0, 0, 0);
constexpr COLORREF kLabelText = RGB(0, 255, 0);

struct LabelState {
  HCURSOR pointer = nullptr;
  bool button = false;  // a button label (every one but the title) shows another pointer
  HFONT font = nullptr;
  bool pressed = false;
};

LabelState* StateOf(HWND window) {
  return reinterpret_cast<LabelState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void PaintLabel(HWND window, LabelState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  SetBkColor(dc, kLabelBack);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
  HGDIOBJ old_font = SelectObject(dc, state.font ? state.font : GetStockObject(DEFAULT_GUI_FONT));
  const std::wstring text = TextOf(window);
  if (IsWindowEnabled(window)) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelText);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    // The platform's look of disabled text: embossed in the 3-D highlight and shadow colours.
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()),
               static_cast<WPARAM>(text.size()), 0, 0, client.right, client.bottom,
               DST_TEXT | DSS_DISABLED);
  }
  SelectObject(dc, old_font);
  EndPaint(window, &ps);
}

LRESULT CALLBACK LabelProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  LabelState* state = StateOf(window);
  switch (msg) {
    case WM_NCCREATE: {
      auto* created = new LabelState;
      created->pointer =
          static_cast<HCURSOR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      created->button = created->pointer != LoadCursorW(nullptr, IDC_ARROW);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      break;
    }
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wparam);
      if (LOWORD(lparam)) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(window, msg, wparam, lparam);
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    case WM_ENABLE:
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole label
    case WM_PAINT:
      PaintLabel(window, *state);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT && state->pointer) {
        SetCursor(state->pointer);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      state->pressed = true;
      SetCapture(window);
      return 0;
    case WM_LBUTTONDBLCLK:
      // The second press of a double-click (within the system's double-click time and
      // distance) is a double-click, which no label handles: it is not a second click.
      return 0;
    case WM_LBUTTONUP: {
      if (!state->pressed) return 0;
      state->pressed = false;
      RECT client;
      GetClientRect(window, &client);
      const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      const bool on_label = PtInRect(&client, at);
      // Capture goes before the click is reported: its handler may run for a long time.
      ReleaseCapture();
      if (on_label) {
        SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), kLabelClicked),
                     reinterpret_cast<LPARAM>(window));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      state->pressed = false;
      return 0;
    case WM_GETOBJECT:
      if (static_cast<LONG>(lparam) == OBJID_CLIENT) {
        const LRESULT object = LabelAccessibleObject(window, state->button, wparam);
        if (object > 0) return object;  // failure: the platform describes the window itself
      }
      break;
    case kLabelDoDefaultAction:
      // A press from assistive technology: a click, if a click could happen now.
      if (state->button && IsWindowVisible(window) && IsWindowEnabled(window)) {
        SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), kLabelClicked),
                     reinterpret_cast<LPARAM>(window));
      }
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return 0;  // a label is not the window's surface: these start nothing
    default:
      break;
  }
  return DefWindowProcW(window, msg, wparam, lparam);
}

// Keeps what the window was created with (its picture, its colour) for its painting.
void KeepCreateParam(HWND window, LPARAM lparam) {
  SetWindowLongPtrW(window, GWLP_USERDATA,
                    reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
}

LRESULT CALLBACK PictureProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_NCCREATE:
      KeepCreateParam(window, lparam);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT client;
      GetClientRect(window, &client);
      FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      auto picture = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA));
      BITMAP info{};
      if (picture && GetObjectW(picture, sizeof info, &info)) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, picture);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
      }
      EndPaint(window, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(window);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, msg, wparam, lparam);
}

LRESULT CALLBACK LineProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_NCCREATE:
      KeepCreateParam(window, lparam);
      break;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT client;
      GetClientRect(window, &client);
      SetBkColor(dc, static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA)));
      ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
      EndPaint(window, &ps);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window, msg, wparam, lparam);
}

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style = 0) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.style = style;
  cls.lpfnWndProc = proc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.lpszClassName = name;
  RegisterClassExW(&cls);
}

constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPSIBLINGS;

HWND CreateChild(const wchar_t* cls, HWND parent, int id, const wchar_t* text, DWORD style,
                 const RECT& rect, void* param) {
  return CreateWindowExW(
      0, cls, text, kChildStyle | style, rect.left, rect.top, rect.right - rect.left,
      rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), param);
}

}  // namespace

void RegisterControlClasses(HINSTANCE instance) {
  Register(instance, kLabelClass, LabelProc, CS_DBLCLKS);
  Register(instance, kPictureClass, PictureProc);
  Register(instance, kLineClass, LineProc);
}

HWND CreateLabel(HWND parent, int id, const wchar_t* caption, const RECT& rect, HCURSOR pointer,
                 bool visible) {
  return CreateChild(kLabelClass, parent, id, caption, visible ? WS_VISIBLE : 0, rect, pointer);
}

HWND CreatePictureBox(HWND parent, int id, HBITMAP picture, const RECT& rect, bool visible) {
  return CreateChild(kPictureClass, parent, id, L"", WS_TABSTOP | (visible ? WS_VISIBLE : 0), rect,
                     picture);
}

HWND CreateLine(HWND parent, int id, COLORREF colour, const RECT& rect) {
  return CreateChild(kLineClass, parent, id, L"", WS_VISIBLE, rect,
                     reinterpret_cast<void*>(static_cast<LONG_PTR>(colour)));
}

}  // namespace zantic::win32
