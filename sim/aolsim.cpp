// aolsim: a stand-in for the AOL client, to demo and test zantic idle against.
//
// It builds the window tree the program relies on (an "AOL Frame25" main window, its
// "MDIClient", a Welcome window and a chat room as "AOL Child" windows) and behaves like
// the client where the program touches it: the room's entry box takes WM_SETTEXT and
// posts its content as a line of the signed-on user on WM_CHAR 13.
//
// Command line:
//   --screen-name NAME   the signed-on screen name (default "Pat Doe")
//   --room NAME          the chat room's name (default "Lobby 12")
//   --log PATH           the JSON-lines event log
//
// Control channel: WM_COPYDATA to the "AOL Frame25" window, dwData = 0x5A49, the data a
// UTF-8 command line:
//   say <speaker>\t<text>   a line said in the room by anyone
//   hang <seconds>          stop answering messages for that long
//   exit                    end at once, as a crash would
#include <windows.h>
#include <richedit.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win32/text_encoding.h"
#include "sim/sim_log.h"

using zantic::win32::Utf8ToWide;
using zantic::win32::WideToUtf8;

namespace {

constexpr ULONG_PTR kControlMagic = 0x5A49;
constexpr UINT kHangMessage = WM_APP + 1;
constexpr int kEntryId = 101;

HINSTANCE g_instance;
HWND g_frame, g_mdi, g_room, g_transcript, g_entry, g_welcome;
WNDPROC g_richedit_proc;
std::wstring g_screen_name = L"Pat Doe";
std::wstring g_room_name = L"Lobby 12";

// The text of a posted line as the room shows it: markup removed, and no line break can
// start a new transcript line.
std::wstring RenderText(const std::wstring& html) {
  std::wstring out;
  bool in_tag = false;
  for (wchar_t c : html) {
    if (in_tag) {
      if (c == L'>') in_tag = false;
      continue;
    }
    if (c == L'<') {
      in_tag = true;
      continue;
    }
    out += (c == L'\r' || c == L'\n') ? L' ' : c;
  }
  return out;
}

void AppendTranscriptLine(const std::wstring& speaker, const std::wstring& html) {
  std::wstring line = speaker + L":\t" + RenderText(html);
  const int length = GetWindowTextLengthW(g_transcript);
  if (length > 0) line = L"\r" + line;
  SendMessageW(g_transcript, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  SendMessageW(g_transcript, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageW(g_transcript, WM_VSCROLL, SB_BOTTOM, 0);
}

void SayInRoom(const std::wstring& speaker, const std::wstring& text) {
  aolsim::Log("chat", {{"speaker", WideToUtf8(speaker)}, {"text", WideToUtf8(text)}});
  AppendTranscriptLine(speaker, text);
}

std::wstring WindowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return text;
}

// The entry box: Enter posts its content as a line of the signed-on user.
LRESULT CALLBACK EntryProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if ((msg == WM_CHAR && wparam == 13) || (msg == WM_KEYDOWN && wparam == VK_RETURN)) {
    if (msg == WM_KEYDOWN) return 0;  // the WM_CHAR that follows does the work
    const std::wstring text = WindowText(window);
    SetWindowTextW(window, L"");
    SayInRoom(g_screen_name, text);
    return 0;
  }
  return CallWindowProcW(g_richedit_proc, window, msg, wparam, lparam);
}

void RegisterClasses() {
  LoadLibraryW(L"riched20.dll");
  // "RICHCNTL": the platform's rich edit under the client's class name.
  WNDCLASSEXW rich{};
  rich.cbSize = sizeof rich;
  GetClassInfoExW(nullptr, RICHEDIT_CLASSW, &rich);
  g_richedit_proc = rich.lpfnWndProc;
  rich.hInstance = g_instance;
  rich.lpszClassName = L"RICHCNTL";
  rich.style &= ~CS_GLOBALCLASS;
  RegisterClassExW(&rich);

  // The client's own control classes, built on the platform's.
  struct Super {
    const wchar_t* base;
    const wchar_t* name;
  };
  for (Super s : {Super{L"LISTBOX", L"_AOL_Listbox"}, Super{L"BUTTON", L"_AOL_Icon"},
                  Super{L"STATIC", L"_AOL_Static"}}) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    GetClassInfoExW(nullptr, s.base, &wc);
    wc.hInstance = g_instance;
    wc.lpszClassName = s.name;
    wc.style &= ~CS_GLOBALCLASS;
    RegisterClassExW(&wc);
  }
}

HWND CreateMdiChild(const std::wstring& caption, int x, int y, int w, int h) {
  MDICREATESTRUCTW mcs{};
  mcs.szClass = L"AOL Child";
  mcs.szTitle = caption.c_str();
  mcs.hOwner = g_instance;
  mcs.x = x;
  mcs.y = y;
  mcs.cx = w;
  mcs.cy = h;
  return reinterpret_cast<HWND>(SendMessageW(g_mdi, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

void BuildRoom(HWND room) {
  const DWORD child = WS_CHILD | WS_VISIBLE;
  // Child order matters to the program: the transcript is the first RICHCNTL, the entry
  // box the second.
  g_transcript = CreateWindowExW(WS_EX_CLIENTEDGE, L"RICHCNTL", L"",
                                 child | ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL,
                                 8, 8, 380, 200, room, nullptr, g_instance, nullptr);
  HWND members = CreateWindowExW(WS_EX_CLIENTEDGE, L"_AOL_Listbox", L"", child | WS_VSCROLL,
                                 396, 8, 120, 200, room, nullptr, g_instance, nullptr);
  for (const wchar_t* name : {g_screen_name.c_str(), L"Kim Lee", L"Sam Ray"}) {
    SendMessageW(members, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  CreateWindowExW(0, L"_AOL_Static", g_room_name.c_str(), child, 396, 212, 120, 20, room, nullptr,
                  g_instance, nullptr);
  g_entry = CreateWindowExW(WS_EX_CLIENTEDGE, L"RICHCNTL", L"", child | ES_AUTOHSCROLL, 8, 214,
                            300, 24, room, reinterpret_cast<HMENU>(kEntryId), g_instance, nullptr);
  SendMessageW(g_entry, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SetWindowLongPtrW(g_entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EntryProc));
  CreateWindowExW(0, L"_AOL_Icon", L"Send", child, 312, 214, 76, 24, room, nullptr, g_instance,
                  nullptr);
}

void HandleControl(const std::string& command) {
  aolsim::Log("control", {{"command", command}});
  const auto space = command.find(' ');
  const std::string verb = command.substr(0, space);
  const std::string rest = space == std::string::npos ? std::string() : command.substr(space + 1);
  if (verb == "say") {
    const auto tab = rest.find('\t');
    if (tab == std::string::npos) return;
    SayInRoom(Utf8ToWide(rest.substr(0, tab)), Utf8ToWide(rest.substr(tab + 1)));
  } else if (verb == "hang") {
    // Posted, so the sender of the command is not held up by the hang itself.
    PostMessageW(g_frame, kHangMessage, static_cast<WPARAM>(std::atof(rest.c_str()) * 1000), 0);
  } else if (verb == "exit") {
    aolsim::Log("exit");
    ExitProcess(3);
  }
}

LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CREATE: {
      CLIENTCREATESTRUCT ccs{};
      ccs.idFirstChild = 1000;
      g_mdi = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                              WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0,
                              0, 0, window, nullptr, g_instance, &ccs);
      return 0;
    }
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (data->dwData != kControlMagic) return FALSE;
      HandleControl(std::string(static_cast<const char*>(data->lpData), data->cbData));
      return TRUE;
    }
    case kHangMessage:
      aolsim::Log("fault", {{"mode", "hang"}, {"state", "begin"}});
      Sleep(static_cast<DWORD>(wparam));
      aolsim::Log("fault", {{"mode", "hang"}, {"state", "end"}});
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefFrameProcW(window, g_mdi, msg, wparam, lparam);
}

LRESULT CALLBACK ChildProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  return DefMDIChildProcW(window, msg, wparam, lparam);
}

void ParseArguments() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring log_path;
  for (int i = 1; i + 1 < argc; ++i) {
    const std::wstring flag = argv[i];
    if (flag == L"--screen-name") g_screen_name = argv[++i];
    else if (flag == L"--room") g_room_name = argv[++i];
    else if (flag == L"--log") log_path = argv[++i];
  }
  LocalFree(argv);
  aolsim::OpenLog(log_path);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  g_instance = instance;
  ParseArguments();
  RegisterClasses();

  WNDCLASSEXW frame{};
  frame.cbSize = sizeof frame;
  frame.lpfnWndProc = FrameProc;
  frame.hInstance = instance;
  frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frame.lpszClassName = L"AOL Frame25";
  RegisterClassExW(&frame);

  WNDCLASSEXW child{};
  child.cbSize = sizeof child;
  child.lpfnWndProc = ChildProc;
  child.hInstance = instance;
  child.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  child.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  child.lpszClassName = L"AOL Child";
  RegisterClassExW(&child);

  g_frame = CreateWindowExW(0, L"AOL Frame25", L"America Online", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            0, 0, 800, 560, nullptr, nullptr, instance, nullptr);
  g_welcome = CreateMdiChild(L"Welcome, " + g_screen_name + L"!", 420, 10, 340, 160);
  g_room = CreateMdiChild(g_room_name, 10, 10, 540, 280);
  BuildRoom(g_room);
  ShowWindow(g_frame, show == SW_HIDE ? SW_SHOWNORMAL : show);
  UpdateWindow(g_frame);
  aolsim::Log("ready", {{"screen_name", WideToUtf8(g_screen_name)}});

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!TranslateMDISysAccel(g_mdi, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}
