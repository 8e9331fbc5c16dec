// zantic idle: the program's entry point. Creates the Win32 adapters and the main window,
// runs the window's load sequence, shows the window and handles its events until the
// program ends through the window's "X" label.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <ole2.h>

#include "aol/send_queue.h"
#include "platform/win32/chat_scanner_win32.h"
#include "platform/win32/event_loop_win32.h"
#include "platform/win32/system_services_win32.h"
#include "platform/win32/window_system_win32.h"
#include "ui/form1.h"
#include "ui/win32/form1_window.h"

#if defined(ZANTIC_BENCH_BUSY_PAUSE) || defined(ZANTIC_BENCH_TRACE_CHAT)
// Reference builds for the benchmarks in bench/ (never the product): one whose waits pump
// events in a loop without ever sleeping, and one that records every line the scanner
// reports.
#include <cstdio>
#include <string>
#include <vector>

namespace {

#if defined(ZANTIC_BENCH_BUSY_PAUSE)
class BusyEventLoop : public zantic::win32::Win32EventLoop {
 public:
  void WaitForEvents(double) override {}
};
#else
// Appends "speaker<TAB>text" lines to chat-trace.txt beside the executable.
void TraceChatLines(const std::vector<zantic::ChatLineReport>& lines) {
  static FILE* trace = [] {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return _wfopen((dir.substr(0, dir.find_last_of(L'\\')) + L"\\chat-trace.txt").c_str(), L"ab");
  }();
  if (!trace) return;
  for (const auto& line : lines) std::fprintf(trace, "%s\t%s\n", line.speaker.c_str(), line.text.c_str());
  std::fflush(trace);
}
#endif

}  // namespace
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);
  // COM on the user-interface thread, so screen readers in other processes can reach the
  // labels' accessible objects.
  OleInitialize(nullptr);

  zantic::win32::Win32WindowSystem windows;
  // Every message to the AOL client goes out on the queue's thread.
  zantic::SendQueue aol(windows);
#if defined(ZANTIC_BENCH_BUSY_PAUSE)
  BusyEventLoop events;
#else
  zantic::win32::Win32EventLoop events;
#endif
  zantic::win32::Win32ProfileFile profile;
  zantic::win32::Win32MessageBoxes boxes;
  zantic::win32::Win32Process process;

  zantic::win32::Form1Window window(instance);
  if (!window.Handle()) return 1;
  boxes.owner = window.Handle();
  // Chat1: reports the room's lines to the window, which hands them to the logic.
  zantic::win32::Win32ChatScanner chat1(window.Handle(),
                                        zantic::win32::Form1Window::kChatLineMessage);
#if defined(ZANTIC_BENCH_TRACE_CHAT)
  window.SetChatLineSource([&chat1] {
    auto lines = chat1.TakeLines();
    TraceChatLines(lines);
    return lines;
  });
#else
  window.SetChatLineSource([&chat1] { return chat1.TakeLines(); });
#endif
  zantic::Form1 form(zantic::Ports{windows, aol, events, profile, boxes, process, window, chat1});
  window.Attach(form);
  events.pre_translate = [&window](MSG& msg) { return window.PreTranslate(msg); };

  form.Form_Load();
  window.ShowFirstTime();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) events.Dispatch(msg);
  return static_cast<int>(msg.wParam);
}
