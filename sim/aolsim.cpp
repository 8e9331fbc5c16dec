// aolsim: a stand-in for the AOL client, to demo and test zantic idle against.
//
// It builds the window tree the program relies on and behaves like the client where the
// program touches it:
//
//   "AOL Frame25" (caption "America Online")
//     "AOL Toolbar" > "_AOL_Toolbar" > "_AOL_Combobox" > "Edit"     the keyword box
//     "MDIClient"
//       "AOL Child" "Welcome, <screen name>!"                       (behind the room)
//       "AOL Child" <room name>                                     a chat room:
//          "_AOL_Static" title, "RICHCNTL" transcript, "_AOL_Static" head count,
//          "_AOL_Listbox" members, "RICHCNTL" entry box, "_AOL_Icon" Send, ...
//       "AOL Child" "Send Instant Message"                          opened by a keyword
//          "_AOL_Static", "_AOL_Edit", 8 x "_AOL_Icon", "RICHCNTL", "_AOL_Icon" Send, ...
//   "#32770" "America Online" with a "Button"                       the client's message box
//
// A test drives it through its control channel (WM_COPYDATA to the "AOL Frame25" window,
// dwData 0x5A49, a UTF-8 command) and reads its event log (one JSON object per line).
// sim/README.md describes the command line, every command and every log event.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "sim/sim.h"
#include "sim/sim_log.h"

namespace aolsim {

Settings g_settings;
HINSTANCE g_instance;
HWND g_frame;
HWND g_mdi;

namespace {

constexpr ULONG_PTR kControlMagic = 0x5A49;
constexpr int kToolbarHeight = 78;
constexpr int kGoIconId = 101;

WNDPROC g_keyword_edit_proc;

// --- The Welcome window --------------------------------------------------------------

class WelcomeWindow : public MdiWindow {
 public:
  void Build() {
    greeting = MakeChild(window, L"_AOL_Static", Greeting().c_str(), WS_CHILD | WS_VISIBLE | SS_ENDELLIPSIS,
                         12, 10, 210, 26);
    SendMessageW(greeting, WM_SETFONT, reinterpret_cast<WPARAM>(TitleFont()), FALSE);
    MakeChild(window, L"_AOL_Static", L"You have no new mail.", WS_CHILD | WS_VISIBLE, 12, 42, 210, 20);
    const wchar_t* labels[] = {L"Read Mail", L"People", L"News", L"Chat"};
    for (int i = 0; i < 4; ++i) MakeIcon(window, labels[i], 400 + i, 10 + (i % 2) * 100, 72 + (i / 2) * 38, 94, 30);
  }
  bool OnMessage(HWND, UINT msg, WPARAM wparam, LPARAM, LRESULT& result) override {
    return HandleCtlColor(msg, wparam, result);
  }
  void OnDestroyed() override;
  std::wstring Caption() const { return L"Welcome, " + g_settings.screen_name + L"!"; }
  std::wstring Greeting() const { return L"Welcome, " + g_settings.screen_name + L"!"; }

  HWND greeting = nullptr;
};

WelcomeWindow* g_welcome = nullptr;

void WelcomeWindow::OnDestroyed() {
  if (g_welcome == this) g_welcome = nullptr;
  delete this;
}

// --- The main window -------------------------------------------------------------------

// The keyword box: Enter goes to the address in it.
LRESULT CALLBACK KeywordEditProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CHAR && (wparam == 13 || wparam == 10)) {
    if (wparam == 13) {
      const int n = GetWindowTextLengthW(window);
      std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
      text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), n + 1)));
      RunKeyword(text);
    }
    return 0;  // no beep
  }
  return CallWindowProcW(g_keyword_edit_proc, window, msg, wparam, lparam);
}

void BuildToolbar(HWND frame) {
  HWND outer = MakeChild(frame, L"AOL Toolbar", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 900,
                         kToolbarHeight);
  HWND inner = MakeChild(outer, L"_AOL_Toolbar", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 900,
                         kToolbarHeight);
  const wchar_t* labels[] = {L"Read", L"Write", L"Mail Center", L"Print", L"My Files", L"My AOL",
                             L"Favorites", L"Internet", L"Channels", L"People"};
  for (int i = 0; i < 10; ++i) MakeIcon(inner, labels[i], 110 + i, 6 + i * 86, 6, 82, 30);
  MakeChild(inner, L"_AOL_Static", L"Keyword:", WS_CHILD | WS_VISIBLE, 10, 48, 70, 20);
  HWND combo = MakeChild(inner, L"_AOL_Combobox", L"", WS_CHILD | WS_VISIBLE, 82, 44, 440, 26);
  MakeIcon(inner, L"Go", kGoIconId, 528, 44, 48, 26);
  HWND edit = GetWindow(combo, GW_CHILD);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  g_keyword_edit_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeywordEditProc)));
}

HWND KeywordEdit() {
  HWND outer = FindWindowExW(g_frame, nullptr, L"AOL Toolbar", nullptr);
  HWND inner = FindWindowExW(outer, nullptr, L"_AOL_Toolbar", nullptr);
  HWND combo = FindWindowExW(inner, nullptr, L"_AOL_Combobox", nullptr);
  return FindWindowExW(combo, nullptr, L"Edit", nullptr);
}

LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CREATE: {
      BuildToolbar(window);
      CLIENTCREATESTRUCT ccs{};
      ccs.idFirstChild = 1000;
      g_mdi = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                              WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0,
                              kToolbarHeight, 10, 10, window, nullptr, g_instance, &ccs);
      return 0;
    }
    case WM_SIZE: {
      // Handled here, not by the frame's default: the MDI client goes below the toolbar.
      const int w = LOWORD(lparam), h = HIWORD(lparam);
      MoveWindow(FindWindowExW(window, nullptr, L"AOL Toolbar", nullptr), 0, 0, w, kToolbarHeight, TRUE);
      MoveWindow(g_mdi, 0, kToolbarHeight, w, std::max(0, h - kToolbarHeight), TRUE);
      return 0;
    }
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (!data || data->dwData != kControlMagic) return FALSE;
      const std::string command(static_cast<const char*>(data->lpData), data->cbData);
      return RunControlCommand(command) ? TRUE : FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == kGoIconId && HIWORD(wparam) == BN_CLICKED) {
        SendMessageW(KeywordEdit(), WM_CHAR, 13, 0);
        return 0;
      }
      break;
    case WM_TIMER:
      if (HandleControlTimer(wparam) || HandleImTimer(wparam)) return 0;
      break;
    case kHangMessage:
      Log("fault", {{"mode", "hang"}, {"state", "begin"}, {"seconds", LogValue::Number(wparam / 1000.0)}});
      Sleep(static_cast<DWORD>(wparam));
      Log("fault", {{"mode", "hang"}, {"state", "end"}});
      return 0;
    case kExitMessage:
      // As a crash would: no window is closed, nothing is cleaned up.
      Log("fault", {{"mode", "exit"}, {"state", "begin"}});
      TerminateProcess(GetCurrentProcess(), 3);
      return 0;
    case WM_DESTROY:
      Log("quit");
      PostQuitMessage(0);
      return 0;
  }
  return DefFrameProcW(window, g_mdi, msg, wparam, lparam);
}

// --- The command line ------------------------------------------------------------------

struct StartState {
  std::wstring log_path;
  std::wstring room_name = L"Lobby 12";
  std::wstring welcome = L"back";  // front, back or none
  bool room = true;
};

[[noreturn]] void Usage(const std::wstring& problem) {
  std::fwprintf(stderr,
                L"aolsim: %ls\n"
                L"usage: aolsim [--screen-name NAME] [--room NAME] [--no-room]\n"
                L"              [--welcome front|back|none] [--log PATH] [--max-lines N]\n"
                L"              [--max-line-chars N] [--no-wrap] [--demo] [--im-delay SECONDS]\n"
                L"              [--im-never] [--im-icons N] [--ansi]\n",
                problem.c_str());
  std::fflush(stderr);
  ExitProcess(2);
}

int WholeNumber(const std::wstring& flag, const wchar_t* text, int min, int max) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text, &end, 10);
  if (end == text || *end != L'\0' || value < min || value > max) {
    Usage(flag + L" takes a whole number from " + std::to_wstring(min) + L" to " + std::to_wstring(max));
  }
  return static_cast<int>(value);
}

StartState ParseArguments() {
  StartState state;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    const std::wstring flag = argv[i];
    auto value = [&]() -> const wchar_t* {
      if (i + 1 >= argc) Usage(flag + L" needs a value");
      return argv[++i];
    };
    if (flag == L"--screen-name") {
      g_settings.screen_name = value();
    } else if (flag == L"--room") {
      state.room_name = value();
    } else if (flag == L"--no-room") {
      state.room = false;
    } else if (flag == L"--welcome") {
      state.welcome = value();
      if (state.welcome != L"front" && state.welcome != L"back" && state.welcome != L"none") {
        Usage(L"--welcome takes front, back or none");
      }
    } else if (flag == L"--log") {
      state.log_path = value();
    } else if (flag == L"--max-lines") {
      g_settings.max_lines = WholeNumber(flag, value(), 1, 10000000);
    } else if (flag == L"--max-line-chars") {
      g_settings.max_line_chars = WholeNumber(flag, value(), 0, 100000000);
    } else if (flag == L"--no-wrap") {
      g_settings.wrap = false;
    } else if (flag == L"--ansi") {
      g_settings.ansi = true;
    } else if (flag == L"--demo") {
      g_settings.demo = true;
    } else if (flag == L"--im-delay") {
      const wchar_t* text = value();
      wchar_t* end = nullptr;
      const double seconds = std::wcstod(text, &end);
      if (end == text || *end != L'\0' || !(seconds >= 0 && seconds <= 3600)) {
        Usage(L"--im-delay takes seconds from 0 to 3600");
      }
      g_settings.im_delay_s = seconds;
    } else if (flag == L"--im-never") {
      g_settings.im_never = true;
    } else if (flag == L"--im-icons") {
      g_settings.im_icons = WholeNumber(flag, value(), 0, 64);
    } else {
      Usage(L"unknown option " + flag);
    }
  }
  LocalFree(argv);
  return state;
}

void RegisterWindowClasses() {
  RegisterControlClasses();
  WNDCLASSEXW frame{};
  frame.cbSize = sizeof frame;
  frame.lpfnWndProc = FrameProc;
  frame.hInstance = g_instance;
  frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frame.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frame.lpszClassName = L"AOL Frame25";
  RegisterClassExW(&frame);

  WNDCLASSEXW child{};
  child.cbSize = sizeof child;
  child.lpfnWndProc = ChildProc;
  child.hInstance = g_instance;
  child.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  child.hbrBackground = ChildBackBrush();
  child.lpszClassName = L"AOL Child";
  RegisterClassExW(&child);
}

}  // namespace

void ShowWelcome(bool front) {
  if (g_welcome) {
    SetWindowPos(g_welcome->window, front ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    auto* welcome = new WelcomeWindow;
    if (!CreateMdiChild(welcome, welcome->Caption(), 656, 8, 228, 190, front)) {
      delete welcome;
      return;
    }
    g_welcome = welcome;
    welcome->Build();
  }
  Log("welcome", {{"state", "shown"}, {"caption", Utf8(g_welcome->Caption())}});
}

void HideWelcome() {
  if (!g_welcome) return;
  SendMessageW(g_mdi, WM_MDIDESTROY, reinterpret_cast<WPARAM>(g_welcome->window), 0);
  Log("welcome", {{"state", "hidden"}});
}

void SetScreenName(const std::wstring& name) {
  const std::wstring old = g_settings.screen_name;
  g_settings.screen_name = name;
  if (g_welcome) {
    SetWindowTextW(g_welcome->window, g_welcome->Caption().c_str());
    SetWindowTextW(g_welcome->greeting, g_welcome->Greeting().c_str());
  }
  RenameMember(old, name);
  Log("screen_name", {{"screen_name", Utf8(name)}});
}

}  // namespace aolsim

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  using namespace aolsim;
  g_instance = instance;
  const StartState start = ParseArguments();
  if (!OpenLog(start.log_path)) Usage(L"cannot write the log " + start.log_path);
  RegisterWindowClasses();

  g_frame = CreateWindowExW(0, L"AOL Frame25", L"America Online", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                            920, 640, nullptr, nullptr, instance, nullptr);
  if (!g_frame || !g_mdi) Usage(L"the main window could not be created");
  // The MDI client gets its size before the first child comes, so no scroll bar is left
  // over from a smaller one.
  RECT client;
  GetClientRect(g_frame, &client);
  SendMessageW(g_frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  // The Welcome window and the room: the later one comes first in the MDI child order.
  if (start.welcome == L"back") ShowWelcome(true);
  if (start.room) OpenRoom(start.room_name, true);
  if (start.welcome == L"front") ShowWelcome(true);
  ShowWindow(g_frame, show == SW_HIDE ? SW_SHOWNORMAL : show);
  UpdateWindow(g_frame);
  if (g_settings.demo) StartDemo(true);
  Log("ready", {{"screen_name", Utf8(g_settings.screen_name)},
                {"pid", LogValue::Number(GetCurrentProcessId())},
                {"max_lines", LogValue::Number(g_settings.max_lines)}});

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!TranslateMDISysAccel(g_mdi, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}
