#include "ui/win32/form1_window.h"

#include "ui/win32/resource_ids.h"
#include "ui/win32/window_messages.h"

namespace zantic::win32 {
namespace {

constexpr COLORREF kLightGrey = RGB(224, 224, 224);

// The window, in twips (1440 to the inch).
constexpr int kFormWidth = 3420;
constexpr int kFormHeight = 855;

UINT DisplayDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

HICON SmallIcon(HINSTANCE instance) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(ZANTIC_IDI_ICON), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance)
    : dpi_(DisplayDpi()),
      form_class_(instance, kClassName, &Proc, 0, nullptr, LoadIconW(instance, MAKEINTRESOURCEW(ZANTIC_IDI_ICON)),
                  SmallIcon(instance)),
      controls_(instance, dpi_),
      background_(LoadJpegResource(instance, ZANTIC_IDR_BACKGROUND, dpi_)),
      box_brush_(CreateSolidBrush(kLightGrey)) {
  // A popup without frame or caption; unowned, so it has a taskbar button.
  const RECT rect{0, 0, MulDiv(kFormWidth, static_cast<int>(dpi_), 1440), MulDiv(kFormHeight, static_cast<int>(dpi_), 1440)};
  if (CreateWindowOf(kClassName, 0, L"Form1", WS_POPUP | WS_CLIPCHILDREN, rect, nullptr, 0, instance)) {
    controls_.Create(window_);
  }
}

Form1Window::~Form1Window() {
  // The windows go before their classes are given back.
  if (window_) DestroyWindow(window_);
}

void Form1Window::ShowFirstTime() {
  RECT window_rect;
  GetWindowRect(window_, &window_rect);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& screen = monitor.rcMonitor;
  const int width = window_rect.right - window_rect.left;
  const int height = window_rect.bottom - window_rect.top;
  ::SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  if (GetFocus() == window_ || GetFocus() == nullptr) controls_.MoveFocus(false);
}

bool Form1Window::PreTranslate(MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  controls_.MoveFocus(GetKeyState(VK_SHIFT) < 0);
  return true;
}

// --- Messages ------------------------------------------------------------------------------

LRESULT Form1Window::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers the whole window
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_COMMAND:
      OnCommand(wparam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnMouseDown(msg, lparam);
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(wparam, lparam, result)) return result;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(wparam, lparam);
    case WM_ACTIVATE:
      if (OnActivate(wparam)) return 0;
      break;
    case WM_CLOSE:
      return 0;  // the program ends only through its "X" label
    case kChatLineMessage:
      if (inbox_) inbox_->Deliver(logic_);
      return 0;
  }
  if (tray_ && tray_->HandleMessage(msg, wparam, lparam)) return 0;
  if (msg == AnotherCopyMessage()) return logic_ ? static_cast<LRESULT>(logic_->AnotherCopyStarted()) : 0;
  return Default(msg, wparam, lparam);
}

void Form1Window::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  RECT client;
  GetClientRect(window_, &client);
  Blit(dc, 0, 0, background_.bitmap.get());
  // Where the picture does not reach, the button-face colour shows.
  const SIZE picture = background_.bitmap ? background_.size : SIZE{0, 0};
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  const RECT right{picture.cx, 0, client.right, client.bottom};
  const RECT below{0, picture.cy, picture.cx, client.bottom};
  if (right.left < right.right) FillRect(dc, &right, face);
  if (below.top < below.bottom) FillRect(dc, &below, face);
  EndPaint(window_, &ps);
}

// A click on a label, by the label's control identifier.
void Form1Window::OnCommand(WPARAM wparam) {
  const int index = LOWORD(wparam) - ControlId(Control::Label1);
  if (HIWORD(wparam) != kLabelClicked || index < 0 || index >= static_cast<int>(Form1Controls::kLabelCount) || !logic_) {
    return;
  }
  logic_->Click(static_cast<Control>(index));
}

void Form1Window::OnMouseDown(UINT msg, LPARAM lparam) {
  const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  // A press that lands on a control (a disabled one passes its presses to the window) is
  // not a press on the window's surface.
  if (!logic_ || controls_.At(at)) return;
  logic_->Form_MouseDown(msg == WM_RBUTTONDOWN   ? MouseButton::Right
                         : msg == WM_MBUTTONDOWN ? MouseButton::Middle
                                                 : MouseButton::Left);
}

// Over a disabled control the window gets the mouse; the control still names the pointer.
bool Form1Window::OnSetCursor(WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (reinterpret_cast<HWND>(wparam) != window_ || LOWORD(lparam) != HTCLIENT) return false;
  POINT at;
  GetCursorPos(&at);
  ScreenToClient(window_, &at);
  HWND child = controls_.At(at);
  if (!child) return false;
  result = SendMessageW(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), lparam);
  return true;
}

// The boxes: light grey, text in the window-text colour (grey while disabled).
LRESULT Form1Window::OnCtlColor(WPARAM wparam, LPARAM lparam) {
  auto dc = reinterpret_cast<HDC>(wparam);
  const bool enabled = IsWindowEnabled(reinterpret_cast<HWND>(lparam));
  SetBkColor(dc, kLightGrey);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  return reinterpret_cast<LRESULT>(box_brush_.get());
}

// Back to the control that had the focus when the window was last left.
bool Form1Window::OnActivate(WPARAM wparam) {
  if (LOWORD(wparam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    last_focus_ = IsChild(window_, focus) ? focus : nullptr;
    return false;
  }
  if (!last_focus_ || !IsWindowVisible(last_focus_) || !IsWindowEnabled(last_focus_)) return false;
  SetFocus(last_focus_);
  return true;
}

}  // namespace zantic::win32
