#include "ui/win32/program.h"

// After windows.h, which they need.
#include <commctrl.h>
#include <ole2.h>

#include <chrono>
#include <optional>

#include "aol/send_queue.h"
#include "core/profile_file.h"
#include "core/settings.h"
#include "core/texts.h"
#include "platform/win32/check_timer_win32.h"
#include "platform/win32/event_loop_win32.h"
#include "platform/win32/own_window_win32.h"
#include "platform/win32/system_services_win32.h"
#include "platform/win32/window_system_win32.h"
#include "ui/form1.h"
#include "ui/win32/chat1.h"
#include "ui/win32/digest_window.h"
#include "ui/win32/form1_window.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/tray.h"
#include "ui/win32/window_messages.h"

namespace zantic::win32 {
namespace {

double SecondsNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The one-copy mark: a named mutex that the running copy owns for its whole life. A copy
// that ends or is killed leaves it abandoned, which the next start takes as its own. A
// start that cannot take it asks the other copy's window to come back with a message the
// other copy must answer (a post to a window that is going away would prove nothing), and
// ends once it has; it takes the mark and runs in the other's place once that copy has
// gone. True when this copy is to run: it holds the mark.
bool TakeOneCopyMark(HANDLE& mark, MessageBoxes& boxes) {
  mark = CreateMutexW(nullptr, FALSE, L"Local\\zantic-idle.one-copy");
  if (!mark) return true;  // no mark to be had: run unguarded rather than not at all
  OtherCopyWait wait(SecondsNow());
  for (;;) {
    if (WaitForSingleObject(mark, 100) != WAIT_TIMEOUT) return true;  // taken, or abandoned
    std::optional<CopyAnswer> answer;
    if (HWND other = FindWindowW(Form1Window::kClassName, L"Form1")) {
      // This start is the user's doing, so it may hand the foreground over.
      DWORD pid = 0;
      GetWindowThreadProcessId(other, &pid);
      AllowSetForegroundWindow(pid);
      DWORD_PTR result = 0;
      if (SendMessageTimeoutW(other, AnotherCopyMessage(), 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 1000,
                              &result) && result != 0) {
        answer = static_cast<CopyAnswer>(result);
      }
    }
    switch (wait.Heard(answer, SecondsNow())) {
      case OtherCopyWait::Next::AskAgain:
        break;
      case OtherCopyWait::Next::End:
        return false;
      case OtherCopyWait::Next::TellUserAndEnd:
        ShowMessage(boxes, kOtherCopyDoesNotAnswer);
        return false;
    }
  }
}

}  // namespace

int RunProgram(HINSTANCE instance, const ProgramHooks& hooks) {
  Win32MessageBoxes boxes;
  HANDLE mark = nullptr;
  if (!TakeOneCopyMark(mark, boxes)) return 0;

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
  Win32Process process;
  Win32UserInput input;
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(ZANTIC_IDI_ICON));
  DigestWindow digest(instance, icon);

  Form1Window window(instance);
  if (!window.Handle()) return 1;
  boxes.owner = window.Handle();
  Win32Tray tray(window.Handle(), static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(ZANTIC_IDI_ICON), IMAGE_ICON,
                                                                  GetSystemMetrics(SM_CXSMICON),
                                                                  GetSystemMetrics(SM_CYSMICON), 0)));
  window.AttachTray(tray);
  // Chat1: reports the room's lines to the window, whose inbox hands them to the logic.
  Chat1 chat1(window.Handle(), kChatLineMessage);
  ChatInbox inbox([&chat1, &hooks] {
    auto lines = chat1.TakeLines();
    if (hooks.on_chat_lines) hooks.on_chat_lines(lines);
    return lines;
  });
  window.AttachInbox(inbox);
  Win32OwnWindow own_window;
  Form1* logic = nullptr;
  Win32CheckTimer timer(window.Handle(), [&logic, &window] {
    if (!window.WaitsOnTheUser()) logic->AutoIdle_Timer();
  });
  Form1 form(Ports{own_window, aol, events, profile, boxes, process, window.Controls(), chat1, tray, digest, input, timer});
  logic = &form;
  window.Attach(form);
  tray.Attach(form);
  own_events.pre_translate = [&window, &digest](MSG& msg) { return window.PreTranslate(msg) || digest.PreTranslate(msg); };

  form.Form_Load();
  window.ShowFirstTime();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) own_events.Dispatch(msg);
  ReleaseMutex(mark);
  CloseHandle(mark);
  return static_cast<int>(msg.wParam);
}

}  // namespace zantic::win32
