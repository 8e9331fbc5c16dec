#include "ui/win32/program.h"

// After windows.h, which they need.
#include <commctrl.h>
#include <ole2.h>

#include "aol/send_queue.h"
#include "core/profile_file.h"
#include "platform/win32/event_loop_win32.h"
#include "platform/win32/system_services_win32.h"
#include "platform/win32/window_system_win32.h"
#include "ui/form1.h"
#include "ui/win32/chat1.h"
#include "ui/win32/form1_window.h"

namespace zantic::win32 {

int RunProgram(HINSTANCE instance, const ProgramHooks& hooks) {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);
  // COM on the user-interface thread, so screen readers in other processes can reach the
  // labels' accessible objects.
  OleInitialize(nullptr);

  Win32WindowSystem windows;
  // Every message to the AOL client goes out on the queue's thread.
  SendQueue aol(windows);
  Win32EventLoop own_events;
  std::unique_ptr<EventLoop> wrapped = hooks.wrap_events ? hooks.wrap_events(own_events) : nullptr;
  EventLoop& events = wrapped ? *wrapped : own_events;
  Win32FileSystem files;
  Win32CodePage code_page;
  ProfileFile profile(files, code_page);
  Win32MessageBoxes boxes;
  Win32Process process;

  Form1Window window(instance);
  if (!window.Handle()) return 1;
  boxes.owner = window.Handle();
  // Chat1: reports the room's lines to the window, which hands them to the logic.
  Chat1 chat1(window.Handle(), Form1Window::kChatLineMessage);
  window.SetChatLineSource([&chat1, &hooks] {
    auto lines = chat1.TakeLines();
    if (hooks.on_chat_lines) hooks.on_chat_lines(lines);
    return lines;
  });
  Form1 form(Ports{windows, aol, events, profile, boxes, process, window, chat1});
  window.Attach(form);
  own_events.pre_translate = [&window](MSG& msg) { return window.PreTranslate(msg); };

  form.Form_Load();
  window.ShowFirstTime();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) own_events.Dispatch(msg);
  return static_cast<int>(msg.wParam);
}

}  // namespace zantic::win32
