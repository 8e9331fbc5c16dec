#include "ui/win32/form1_controls.h"

#include <algorithm>
#include <iterator>

#include "platform/win32/text_encoding.h"
#include "ui/win32/resource_ids.h"

namespace zantic::win32 {
namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);

// Where the separator line runs, in twips.
constexpr int kLineX = 720;
constexpr int kLineBottom = 840;

enum class Kind { Label, Box, Logo };

struct Layout {
  Control control;
  Kind kind;
  const wchar_t* text;
  int left, top, width, height;  // twips (1440 to the inch)
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

bool Shown(HWND window) { return window && (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE); }

}  // namespace

Form1Controls::Form1Controls(HINSTANCE instance, UINT dpi)
    : instance_(instance),
      dpi_(dpi),
      label_class_(instance, Label::kClassName, &Label::Proc, Label::kClassStyle),
      picture_class_(instance, PictureBox::kClassName, &PictureBox::Proc, PictureBox::kClassStyle),
      line_class_(instance, Line::kClassName, &Line::Proc, Line::kClassStyle),
      logo_(LoadJpegResource(instance, ZANTIC_IDR_LOGO, dpi)),
      label_font_(CreateUiFont(L"MS Sans Serif", dpi)),
      box_font_(CreateUiFont(L"Arial Narrow", dpi)) {}

void Form1Controls::Create(HWND form) {
  form_ = form;
  const int dpi = static_cast<int>(dpi_);
  auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
  // One pixel at 96 DPI, and as much wider as everything else at higher DPIs.
  const int line_width = std::max(1, MulDiv(1, dpi, 96));
  windows_[static_cast<std::size_t>(Control::Line1)] =
      line_.Create(form, ControlId(Control::Line1), kGreen, RECT{px(kLineX), 0, px(kLineX) + line_width, px(kLineBottom)});

  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  HCURSOR up_arrow = LoadCursorW(nullptr, IDC_UPARROW);
  for (const Layout& c : kLayout) {
    const RECT rect{px(c.left), px(c.top), px(c.left + c.width), px(c.top + c.height)};
    const int id = ControlId(c.control);
    HWND child = nullptr;
    switch (c.kind) {
      case Kind::Label: {
        const bool button = c.control != Control::Label1;
        child = labels_[static_cast<std::size_t>(c.control)].Create(form, id, c.text, rect, button ? up_arrow : arrow,
                                                                     button, label_font_.get(), c.shown);
        break;
      }
      case Kind::Box:
        child = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", c.text,
                                WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | (c.shown ? WS_VISIBLE : 0),
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, form,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(box_font_.get()), FALSE);
        SendMessageW(child, EM_LIMITTEXT, 0, 0);  // 0: as long as the platform allows
        break;
      case Kind::Logo:
        child = logo_box_.Create(form, id, logo_.bitmap.get(), rect, c.shown);
        break;
    }
    windows_[static_cast<std::size_t>(c.control)] = child;
  }
}

HWND Form1Controls::Window(Control control) const {
  const auto index = static_cast<std::size_t>(control);
  return index < windows_.size() ? windows_[index] : nullptr;
}

HWND Form1Controls::At(POINT client_point) const {
  for (const Layout& c : kLayout) {  // topmost first
    HWND child = Window(c.control);
    if (!Shown(child)) continue;
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&rect), 2);
    if (PtInRect(&rect, client_point)) return child;
  }
  return nullptr;
}

void Form1Controls::MoveFocus(bool backwards) {
  constexpr int n = static_cast<int>(std::size(kTabOrder));
  HWND focus = GetFocus();
  int current = -1;
  for (int i = 0; i < n; ++i) {
    if (Window(kTabOrder[i]) == focus) current = i;
  }
  for (int step = 1; step <= n; ++step) {
    const int i = current < 0 ? (backwards ? n - step : step - 1) : ((backwards ? current - step : current + step) % n + n) % n;
    HWND candidate = Window(kTabOrder[i]);
    if (!Shown(candidate) || !IsWindowEnabled(candidate)) continue;
    SetFocus(candidate);
    // As in dialogs: a box reached with the keyboard has its text selected.
    if (kTabOrder[i] != Control::Picture1) SendMessageW(candidate, EM_SETSEL, 0, -1);
    return;
  }
}

Hwnd Form1Controls::FormWindow() { return reinterpret_cast<Hwnd>(form_); }

void Form1Controls::SetVisible(Control control, bool visible) {
  if (HWND child = Window(control)) ShowWindow(child, visible ? SW_SHOWNA : SW_HIDE);
}

bool Form1Controls::IsVisible(Control control) { return Shown(Window(control)); }

void Form1Controls::SetEnabled(Control control, bool enabled) {
  if (HWND child = Window(control)) EnableWindow(child, enabled);
}

bool Form1Controls::IsEnabled(Control control) {
  HWND child = Window(control);
  return child && IsWindowEnabled(child);
}

std::string Form1Controls::GetText(Control control) {
  HWND child = Window(control);
  if (!child) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
  return WideToUtf8(text);
}

void Form1Controls::SetText(Control control, std::string_view text) {
  if (HWND child = Window(control)) SetWindowTextW(child, Utf8ToWide(text).c_str());
}

void Form1Controls::HideForm() { ShowWindow(form_, SW_HIDE); }

void Form1Controls::ShowForm() { ShowWindow(form_, SW_SHOW); }

bool Form1Controls::IsFormShown() { return IsWindowVisible(form_) != FALSE; }

}  // namespace zantic::win32
