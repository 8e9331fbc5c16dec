// The client's control classes, the input boxes and the MDI child windows.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <memory>

#include "platform/win32/text_encoding.h"
#include "sim/sim.h"

namespace aolsim {
namespace {

// The platform rich edit's own procedure behind "RICHCNTL": its ANSI one with --ansi.
WNDPROC g_richedit_proc;
constexpr wchar_t kInputProp[] = L"aolsim.input";

HFONT MakeFont(int pixels, int weight) {
  return CreateFontW(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

// "_AOL_Icon": pressed state in the window's user data.
LRESULT CALLBACK IconProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetWindowLongPtrW(window, GWLP_USERDATA, 1);
      SetCapture(window);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      const bool was_pressed = GetWindowLongPtrW(window, GWLP_USERDATA) != 0;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      if (GetCapture() == window) ReleaseCapture();
      InvalidateRect(window, nullptr, FALSE);
      RECT client;
      GetClientRect(window, &client);
      const POINT pt{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (was_pressed && PtInRect(&client, pt)) {
        SendMessageW(GetParent(window), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED), reinterpret_cast<LPARAM>(window));
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      const bool pressed = GetWindowLongPtrW(window, GWLP_USERDATA) != 0;
      DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
      wchar_t label[64] = {};
      GetWindowTextW(window, label, 64);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(16, 40, 110));
      HGDIOBJ old = SelectObject(dc, BoldFont());
      if (pressed) OffsetRect(&r, 1, 1);
      DrawTextW(dc, label, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      SelectObject(dc, old);
      EndPaint(window, &ps);
      return 0;
    }
  }
  return DefWindowProcW(window, msg, wparam, lparam);
}

// "_AOL_Combobox": a framed box around a plain "Edit".
LRESULT CALLBACK ComboProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CREATE: {
      RECT r;
      GetClientRect(window, &r);
      MakeChild(window, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 4, 3, r.right - 8,
                r.bottom - 6, 1);
      return 0;
    }
    case WM_SIZE: {
      HWND edit = GetWindow(window, GW_CHILD);
      if (edit) MoveWindow(edit, 4, 3, LOWORD(lparam) - 8, HIWORD(lparam) - 6, TRUE);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
      EndPaint(window, &ps);
      return 0;
    }
  }
  return DefWindowProcW(window, msg, wparam, lparam);
}

// "AOL Toolbar" and "_AOL_Toolbar": the inner one fills the outer one; commands of the
// icons on it go to the main window.
LRESULT CALLBACK ToolbarProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_SIZE: {
      HWND inner = GetWindow(window, GW_CHILD);
      wchar_t cls[32] = {};
      if (inner && GetClassNameW(inner, cls, 32) && lstrcmpW(cls, L"_AOL_Toolbar") == 0) {
        MoveWindow(inner, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      }
      return 0;
    }
    case WM_COMMAND:
      return SendMessageW(g_frame, msg, wparam, lparam);
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      SetTextColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
      return static_cast<LRESULT>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
  }
  return DefWindowProcW(window, msg, wparam, lparam);
}

struct InputBox {
  std::wstring exact;  // what WM_SETTEXT put there
  std::wstring shown;  // what the control was given to show for it
  bool multiline = false;
  std::function<void(HWND, std::wstring)> on_enter;
};

// An input box shows at most this much of a text it was given (it keeps all of it): the
// platform's rich edit can take seconds to lay out a long line of punctuation.
constexpr std::size_t kMaxShownChars = 4096;

// The form in which an input box shows a text: a one-line box shows every line break and
// control character as a blank (the platform's one-line rich edit would drop everything
// after the first break); a multi-line box keeps breaks as paragraph breaks.
std::wstring ShownForm(const std::wstring& exact, bool multiline) {
  std::wstring out;
  out.reserve(std::min(exact.size(), kMaxShownChars));
  for (std::size_t i = 0; i < exact.size() && out.size() < kMaxShownChars; ++i) {
    const wchar_t c = exact[i];
    if (multiline && (c == L'\r' || c == L'\n')) {
      if (c == L'\r' && i + 1 < exact.size() && exact[i + 1] == L'\n') ++i;
      out += L'\r';
    } else if ((c < 0x20 && c != L'\t') || c == 0x7F || c == 0x85 || c == 0x2028 || c == 0x2029) {
      out += L' ';
    } else {
      out += c;
    }
  }
  return out;
}

// The rich edit's own handling of a message, in the character set of its windows.
LRESULT CallRichEdit(HWND box, UINT msg, WPARAM wparam, LPARAM lparam) {
  return g_settings.ansi ? CallWindowProcA(g_richedit_proc, box, msg, wparam, lparam)
                         : CallWindowProcW(g_richedit_proc, box, msg, wparam, lparam);
}

void ShowInBox(HWND box, const std::wstring& text) {
  CallRichEdit(box, EM_SETSEL, 0, -1);
  const std::string ansi = g_settings.ansi ? Ansi(text) : std::string();
  CallRichEdit(box, EM_REPLACESEL, FALSE,
               g_settings.ansi ? reinterpret_cast<LPARAM>(ansi.c_str()) : reinterpret_cast<LPARAM>(text.c_str()));
}

// An input box's messages, from either of its procedures: an ANSI window's texts come in
// the code page.
LRESULT InputMessage(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* box = static_cast<InputBox*>(GetPropW(window, kInputProp));
  if (box) {
    switch (msg) {
      case WM_SETTEXT:
        // Replaces the content with exactly this text (a selection replace: the rich edit
        // would take a text that begins with "{\rtf" for formatting instructions).
        if (g_settings.ansi) {
          box->exact = lparam ? FromAnsi(reinterpret_cast<const char*>(lparam)) : L"";
        } else {
          box->exact = lparam ? reinterpret_cast<const wchar_t*>(lparam) : L"";
        }
        box->shown = ShownForm(box->exact, box->multiline);
        ShowInBox(window, box->shown);
        return TRUE;
      case WM_KEYDOWN:
        if (wparam == VK_RETURN) return 0;  // the WM_CHAR 13 that follows acts
        break;
      case WM_CHAR:
        if (wparam == 13) {
          // Copied first: the handler may close the window that holds the box.
          auto on_enter = box->on_enter;
          on_enter(window, InputBoxText(window));
          return 0;
        }
        if (wparam == 10) return 0;
        break;
      case WM_NCDESTROY:
        RemovePropW(window, kInputProp);
        delete box;
        break;
    }
  }
  return CallRichEdit(window, msg, wparam, lparam);
}

LRESULT CALLBACK InputProcW(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  return InputMessage(window, msg, wparam, lparam);
}
LRESULT CALLBACK InputProcA(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  return InputMessage(window, msg, wparam, lparam);
}

}  // namespace

std::wstring RichText(HWND box) {
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
  const LRESULT n = SendMessageW(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  get.flags = GT_DEFAULT;
  get.codepage = 1200;
  const LRESULT got = SendMessageW(box, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return text;
}

std::wstring Wide(std::string_view utf8) { return zantic::win32::Utf8ToWide(utf8); }
std::string Utf8(std::wstring_view wide) { return zantic::win32::WideToUtf8(wide); }
std::string Ansi(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}
std::wstring FromAnsi(std::string_view ansi) {
  const std::u16string wide = zantic::win32::AnsiToUtf16(ansi);
  return std::wstring(wide.begin(), wide.end());
}
std::wstring ThroughRichEdit(std::wstring_view text) { return g_settings.ansi ? FromAnsi(Ansi(text)) : std::wstring(text); }

HFONT UiFont() {
  static HFONT font = MakeFont(13, FW_NORMAL);
  return font;
}
HFONT BoldFont() {
  static HFONT font = MakeFont(13, FW_BOLD);
  return font;
}
HFONT TitleFont() {
  static HFONT font = MakeFont(20, FW_BOLD);
  return font;
}
HBRUSH ChildBackBrush() {
  static HBRUSH brush = CreateSolidBrush(kChildBack);
  return brush;
}

void RegisterControlClasses() {
  LoadLibraryW(L"riched20.dll");
  struct Super {
    const wchar_t* base;
    const wchar_t* name;
  };
  // The platform's controls under the client's class names.
  for (Super s : {Super{RICHEDIT_CLASSW, L"RICHCNTL"}, Super{L"LISTBOX", L"_AOL_Listbox"},
                  Super{L"STATIC", L"_AOL_Static"}, Super{L"EDIT", L"_AOL_Edit"}}) {
    const bool richcntl = lstrcmpW(s.name, L"RICHCNTL") == 0;
    if (richcntl && g_settings.ansi) continue;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    GetClassInfoExW(nullptr, s.base, &wc);
    if (richcntl) g_richedit_proc = wc.lpfnWndProc;
    wc.hInstance = g_instance;
    wc.lpszClassName = s.name;
    wc.style &= ~CS_GLOBALCLASS;
    RegisterClassExW(&wc);
  }
  if (g_settings.ansi) {
    // The rich edit's ANSI class, registered with the A functions: its windows are ANSI
    // windows, as an older client's are (IsWindowUnicode is false, and EM_GETTEXTRANGE
    // writes the code page).
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    GetClassInfoExA(nullptr, RICHEDIT_CLASSA, &wc);
    g_richedit_proc = wc.lpfnWndProc;
    wc.hInstance = g_instance;
    wc.lpszClassName = "RICHCNTL";
    wc.style &= ~CS_GLOBALCLASS;
    RegisterClassExA(&wc);
  }
  // The client's own.
  struct Own {
    const wchar_t* name;
    WNDPROC proc;
    HBRUSH back;
  };
  static HBRUSH toolbar_back = CreateSolidBrush(kToolbarBack);
  for (Own o : {Own{L"_AOL_Icon", IconProc, nullptr}, Own{L"_AOL_Combobox", ComboProc, nullptr},
                Own{L"AOL Toolbar", ToolbarProc, toolbar_back},
                Own{L"_AOL_Toolbar", ToolbarProc, toolbar_back}}) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = o.proc;
    wc.hInstance = g_instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = o.back;
    wc.lpszClassName = o.name;
    RegisterClassExW(&wc);
  }
}

HWND MakeChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
               int h, int id, DWORD ex_style) {
  HWND child = CreateWindowExW(ex_style, cls, text, style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  return child;
}

HWND MakeIcon(HWND parent, const wchar_t* label, int id, int x, int y, int w, int h) {
  return MakeChild(parent, L"_AOL_Icon", label, WS_CHILD | WS_VISIBLE, x, y, w, h, id);
}

void MakeInputBox(HWND richcntl, bool multiline, std::function<void(HWND, std::wstring)> on_enter) {
  auto box = std::make_unique<InputBox>();
  box->multiline = multiline;
  box->on_enter = std::move(on_enter);
  SendMessageW(richcntl, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SendMessageW(richcntl, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SetPropW(richcntl, kInputProp, box.release());
  if (g_settings.ansi) {
    SetWindowLongPtrA(richcntl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InputProcA));
  } else {
    SetWindowLongPtrW(richcntl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InputProcW));
  }
}

std::wstring InputBoxText(HWND window) {
  auto* box = static_cast<InputBox*>(GetPropW(window, kInputProp));
  std::wstring current = RichText(window);
  if (!box) return current;
  // Unless a person has changed what the box shows, it holds the exact text it was given.
  return current == box->shown ? box->exact : current;
}

void ClearInputBox(HWND window) {
  if (auto* box = static_cast<InputBox*>(GetPropW(window, kInputProp))) {
    box->exact.clear();
    box->shown.clear();
  }
  ShowInBox(window, L"");
}

HWND CreateMdiChild(MdiWindow* owner, const std::wstring& caption, int x, int y, int w, int h,
                    bool front) {
  const HWND previous_front = GetWindow(g_mdi, GW_CHILD);
  MDICREATESTRUCTW mcs{};
  mcs.szClass = L"AOL Child";
  mcs.szTitle = caption.c_str();
  mcs.hOwner = g_instance;
  mcs.x = x;
  mcs.y = y;
  mcs.cx = w;
  mcs.cy = h;
  mcs.lParam = reinterpret_cast<LPARAM>(owner);
  HWND child = reinterpret_cast<HWND>(SendMessageW(g_mdi, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (child && !front && previous_front) {
    SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(g_mdi, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous_front), 0);
  }
  return child;
}

LRESULT CALLBACK ChildProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    const auto* mcs = static_cast<const MDICREATESTRUCTW*>(cs->lpCreateParams);
    if (auto* owner = reinterpret_cast<MdiWindow*>(mcs ? mcs->lParam : 0)) {
      owner->window = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
  }
  auto* owner = reinterpret_cast<MdiWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (owner && msg == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    const LRESULT result = DefMDIChildProcW(window, msg, wparam, lparam);
    owner->OnDestroyed();
    return result;
  }
  if (owner) {
    LRESULT result = 0;
    if (owner->OnMessage(window, msg, wparam, lparam, result)) return result;
  }
  return DefMDIChildProcW(window, msg, wparam, lparam);
}

bool HandleCtlColor(UINT msg, WPARAM wparam, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC) return false;
  SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
  SetTextColor(reinterpret_cast<HDC>(wparam), RGB(16, 40, 110));
  result = reinterpret_cast<LRESULT>(ChildBackBrush());
  return true;
}

}  // namespace aolsim
