#include "ui/win32/form1_window.h"

#include <algorithm>
#include <iterator>

#include "platform/win32/text_encoding.h"
#include "ui/win32/resource_ids.h"

namespace zantic::win32 {
namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kLightGrey = RGB(224, 224, 224);

// The window and its controls, in twips (1440 to the inch).
constexpr int kFormWidth = 3420;
constexpr int kFormHeight = 855;
constexpr int kLineX = 720;
constexpr int kLineBottom = 840;

enum class Kind { Label, Box, Logo };

struct Layout {
  Control control;
  Kind kind;
  const wchar_t* text;
  int left, top, width, height;
  bool shown;
};

// In the order the controls lie on top of one another, topmost first. The title's bottom
// row lies under the description box and the logo, so both show whole; where controls that
// can be shown together overlap otherwise, the buttons lie above the boxes, the boxes above
// the logo, and the URL box above the description box.
constexpr Layout kLayout[] = {
    {Control::Label3, Kind::Label, L"?", 2880, 0, 255, 255, true},
    {Control::Label2, Kind::Label, L"X", 3240, 0, 255, 255, true},
    {Control::Label4, Kind::Label, L"reg. idle", 120, 120, 615, 255, true},
    {Control::Label5, Kind::Label, L"link idle", 120, 360, 615, 255, true},
    {Control::Label6, Kind::Label, L"other", 120, 600, 495, 255, true},
    {Control::Label9, Kind::Label, L"IMs on", 840, 360, 495, 255, false},
    {Control::Label10, Kind::Label, L"IMs off", 1440, 360, 495, 255, false},
    {Control::Label11, Kind::Label, L"adv", 2040, 360, 375, 255, false},
    {Control::Label12, Kind::Label, L"greetz", 2400, 360, 495, 255, false},
    {Control::Label13, Kind::Label, L"handle", 1680, 600, 615, 255, false},
    {Control::Label7, Kind::Label, L"Start", 3000, 240, 495, 255, true},
    {Control::Label14, Kind::Label, L"set", 3000, 360, 255, 255, false},
    {Control::Label8, Kind::Label, L"Stop", 3000, 600, 495, 255, true},
    {Control::Text3, Kind::Box, L"URL", 840, 480, 1935, 285, false},
    {Control::Text2, Kind::Box, L"Description", 840, 240, 1935, 285, false},
    {Control::Text1, Kind::Box, L"Reason", 840, 360, 1935, 285, false},
    {Control::Picture1, Kind::Logo, L"", 1200, 240, 1215, 375, true},
    {Control::Label1, Kind::Label, L"zantic idle by vorn", 1080, 0, 1455, 255, true},
};

// The keyboard focus moves among these with Tab, skipping hidden and disabled ones.
constexpr Control kTabOrder[] = {Control::Text1, Control::Picture1, Control::Text2, Control::Text3};

// 8.25 points, regular, ANSI character set, at the display's DPI. Where the face is
// missing, the platform's font mapper picks a sans-serif of its own (Wine: its font
// replacements).
HFONT CreateUiFont(const wchar_t* face, UINT dpi) {
  return CreateFontW(-MulDiv(825, static_cast<int>(dpi), 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                     FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, face);
}

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
    : instance_(instance),
      dpi_(DisplayDpi()),
      form_class_(instance, kClassName, &Proc, 0, nullptr, LoadIconW(instance, MAKEINTRESOURCEW(ZANTIC_IDI_ICON)),
                  SmallIcon(instance)),
      label_class_(instance, Label::kClassName, &Label::Proc, Label::kClassStyle),
      picture_class_(instance, PictureBox::kClassName, &PictureBox::Proc, PictureBox::kClassStyle),
      line_class_(instance, Line::kClassName, &Line::Proc, Line::kClassStyle),
      background_(LoadJpegResource(instance, ZANTIC_IDR_BACKGROUND, dpi_)),
      logo_(LoadJpegResource(instance, ZANTIC_IDR_LOGO, dpi_)),
      label_font_(CreateUiFont(L"MS Sans Serif", dpi_)),
      box_font_(CreateUiFont(L"Arial Narrow", dpi_)),
      box_brush_(CreateSolidBrush(kLightGrey)) {
  // A popup without frame or caption; unowned, so it has a taskbar button.
  const RECT rect{0, 0, MulDiv(kFormWidth, static_cast<int>(dpi_), 1440), MulDiv(kFormHeight, static_cast<int>(dpi_), 1440)};
  if (CreateWindowOf(kClassName, 0, L"Form1", WS_POPUP | WS_CLIPCHILDREN, rect, nullptr, 0, instance)) CreateControls();
}

Form1Window::~Form1Window() {
  // The windows go before their classes are given back.
  if (window_) DestroyWindow(window_);
}

void Form1Window::CreateControls() {
  const int dpi = static_cast<int>(dpi_);
  auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
  // One pixel at 96 DPI, and as much wider as everything else at higher DPIs.
  const int line_width = std::max(1, MulDiv(1, dpi, 96));
  controls_[static_cast<std::size_t>(Control::Line1)] =
      line_.Create(window_, ControlId(Control::Line1), kGreen, RECT{px(kLineX), 0, px(kLineX) + line_width, px(kLineBottom)});

  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  HCURSOR up_arrow = LoadCursorW(nullptr, IDC_UPARROW);
  for (const Layout& c : kLayout) {
    const RECT rect{px(c.left), px(c.top), px(c.left + c.width), px(c.top + c.height)};
    const int id = ControlId(c.control);
    HWND child = nullptr;
    switch (c.kind) {
      case Kind::Label: {
        const bool button = c.control != Control::Label1;
        child = labels_[static_cast<std::size_t>(c.control)].Create(window_, id, c.text, rect, button ? up_arrow : arrow,
                                                                     button, label_font_.get(), c.shown);
        break;
      }
      case Kind::Box:
        child = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", c.text,
                                WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | (c.shown ? WS_VISIBLE : 0),
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(box_font_.get()), FALSE);
        SendMessageW(child, EM_LIMITTEXT, 0, 0);  // 0: as long as the platform allows
        break;
      case Kind::Logo:
        child = logo_box_.Create(window_, id, logo_.bitmap.get(), rect, c.shown);
        break;
    }
    controls_[static_cast<std::size_t>(c.control)] = child;
  }
}

HWND Form1Window::ControlWindow(Control control) const {
  const auto index = static_cast<std::size_t>(control);
  return index < controls_.size() ? controls_[index] : nullptr;
}

HWND Form1Window::ControlAt(POINT client_point) const {
  for (const Layout& c : kLayout) {  // topmost first
    HWND child = ControlWindow(c.control);
    if (!child || !(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    if (PtInRect(&rect, client_point)) return child;
  }
  return nullptr;
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
  if (GetFocus() == window_ || GetFocus() == nullptr) MoveFocus(false);
}

bool Form1Window::PreTranslate(MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  MoveFocus(GetKeyState(VK_SHIFT) < 0);
  return true;
}

void Form1Window::MoveFocus(bool backwards) {
  constexpr int n = static_cast<int>(std::size(kTabOrder));
  HWND focus = GetFocus();
  int current = -1;
  for (int i = 0; i < n; ++i) {
    if (ControlWindow(kTabOrder[i]) == focus) current = i;
  }
  for (int step = 1; step <= n; ++step) {
    const int i = current < 0 ? (backwards ? n - step : step - 1) : ((backwards ? current - step : current + step) % n + n) % n;
    HWND candidate = ControlWindow(kTabOrder[i]);
    if (!candidate || !(GetWindowLongW(candidate, GWL_STYLE) & WS_VISIBLE) || !IsWindowEnabled(candidate)) continue;
    SetFocus(candidate);
    // As in dialogs: a box reached with the keyboard has its text selected.
    if (kTabOrder[i] != Control::Picture1) SendMessageW(candidate, EM_SETSEL, 0, -1);
    return;
  }
}

// --- FormControls --------------------------------------------------------------------------

Hwnd Form1Window::FormWindow() { return reinterpret_cast<Hwnd>(window_); }

void Form1Window::SetVisible(Control control, bool visible) {
  if (HWND child = ControlWindow(control)) ShowWindow(child, visible ? SW_SHOWNA : SW_HIDE);
}

bool Form1Window::IsVisible(Control control) {
  HWND child = ControlWindow(control);
  return child && (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
}

void Form1Window::SetEnabled(Control control, bool enabled) {
  if (HWND child = ControlWindow(control)) EnableWindow(child, enabled);
}

bool Form1Window::IsEnabled(Control control) {
  HWND child = ControlWindow(control);
  return child && IsWindowEnabled(child);
}

std::string Form1Window::GetText(Control control) {
  HWND child = ControlWindow(control);
  if (!child) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
  return WideToUtf8(text);
}

void Form1Window::SetText(Control control, std::string_view text) {
  if (HWND child = ControlWindow(control)) SetWindowTextW(child, Utf8ToWide(text).c_str());
}

void Form1Window::HideForm() { ShowWindow(window_, SW_HIDE); }

void Form1Window::ShowForm() { ShowWindow(window_, SW_SHOW); }

bool Form1Window::IsFormShown() { return IsWindowVisible(window_) != FALSE; }

UINT Form1Window::AnotherCopyMessage() {
  static const UINT message = RegisterWindowMessageW(L"zantic idle: another copy started");
  return message;
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
      OnChatLines();
      return 0;
    case Win32Tray::kTrayMessage:
      OnTray(wparam, lparam);
      return 0;
  }
  if (msg == Win32Tray::TaskbarCreatedMessage() && tray_) {
    tray_->Restore();
    return 0;
  }
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
  if (HIWORD(wparam) != kLabelClicked || index < 0 || index >= static_cast<int>(kLabelCount) || !logic_) return;
  logic_->Click(static_cast<Control>(index));
}

void Form1Window::OnMouseDown(UINT msg, LPARAM lparam) {
  const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  // A press that lands on a control (a disabled one passes its presses to the window) is
  // not a press on the window's surface.
  if (!logic_ || ControlAt(at)) return;
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
  HWND child = ControlAt(at);
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

// One line at a time from the queue: a handler that pumps events and meets the next
// announcement goes on with the following lines, so the order holds.
void Form1Window::OnChatLines() {
  if (take_lines_) {
    for (auto& line : take_lines_()) chat_lines_.push_back(std::move(line));
  }
  while (!chat_lines_.empty()) {
    const ChatLineReport line = std::move(chat_lines_.front());
    chat_lines_.pop_front();
    if (logic_) logic_->Chat1_ChatLine(line.speaker, line.text);
  }
}

// The shell's news of the tray icon: a selection by the mouse or the keyboard, the context
// menu, a click on the balloon.
void Form1Window::OnTray(WPARAM wparam, LPARAM lparam) {
  if (!logic_ || !tray_) return;
  const Win32Tray::News news = tray_->Read(wparam, lparam);
  switch (news.event) {
    case NIN_SELECT:
    case NIN_KEYSELECT:
      logic_->Tray_Click();
      break;
    case WM_CONTEXTMENU:
      TrayMenu(news.at);
      break;
    case NIN_BALLOONUSERCLICK:
      logic_->Tray_BalloonClick();
      break;
  }
}

// The items, each with its check mark and its submenu; a line above the first of idling
// by itself and above "Exit". DestroyMenu takes the submenus along.
static void AppendTrayItems(HMENU menu, const std::vector<TrayMenuItem>& items) {
  for (const TrayMenuItem& item : items) {
    if (item.command == TrayCommand::Exit || item.command == TrayCommand::IdleByItself) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED) | (item.checked ? MF_CHECKED : MF_UNCHECKED);
    UINT_PTR id = static_cast<UINT_PTR>(item.command);
    if (!item.submenu.empty()) {
      HMENU submenu = CreatePopupMenu();
      AppendTrayItems(submenu, item.submenu);
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(submenu);
    }
    AppendMenuW(menu, flags, id, Utf8ToWide(item.text).c_str());
  }
}

// The menu the logic describes, at the point of the click; the chosen command goes back to
// the logic once the menu has closed.
void Form1Window::TrayMenu(POINT at) {
  const std::vector<TrayMenuItem> items = logic_->TrayMenu();
  if (items.empty()) return;
  HMENU menu = CreatePopupMenu();
  AppendTrayItems(menu, items);
  // The menu closes when the user clicks elsewhere only if the window is in front.
  SetForegroundWindow(window_);
  menu_open_ = true;
  const int chosen = TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, window_, nullptr);
  menu_open_ = false;
  PostMessageW(window_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (chosen > 0) logic_->Tray_Command(static_cast<TrayCommand>(chosen));
}

}  // namespace zantic::win32
