// zantic idle: the program's entry point. Creates the Win32 adapters and the main window,
// runs the window's load sequence, shows the window and handles its events until the
// program ends through the window's "X" label.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <ole2.h>

#include "platform/win32/chat_scanner_win32.h"
#include "platform/win32/event_loop_win32.h"
#include "platform/win32/system_services_win32.h"
#include "platform/win32/window_system_win32.h"
#include "ui/form1.h"
#include "ui/win32/form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);
  // COM on the user-interface thread, so screen readers in other processes can reach the
  // labels' accessible objects.
  OleInitialize(nullptr);

  zantic::win32::Win32WindowSystem windows;
  zantic::win32::Win32EventLoop events;
  zantic::win32::Win32ProfileFile profile;
  zantic::win32::Win32MessageBoxes boxes;
  zantic::win32::Win32Process process;

  zantic::win32::Form1Window window(instance);
  if (!window.Handle()) return 1;
  boxes.owner = window.Handle();
  // Chat1: reports the room's lines to the window, which hands them to the logic.
  zantic::win32::Win32ChatScanner chat1(window.Handle(),
                                        zantic::win32::Form1Window::kChatLineMessage);
  window.SetChatLineSource([&chat1] { return chat1.TakeLines(); });
  zantic::Form1 form(zantic::Ports{windows, events, profile, boxes, process, window, chat1});
  window.Attach(form);
  events.pre_translate = [&window](MSG& msg) { return window.PreTranslate(msg); };

  form.Form_Load();
  window.ShowFirstTime();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) events.Dispatch(msg);
  return static_cast<int>(msg.wParam);
}
