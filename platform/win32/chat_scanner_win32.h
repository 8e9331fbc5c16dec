// The chat scanner behind Chat1: a worker thread looks at the chat room's transcript ten
// times a second and hands the new lines to the user-interface thread by posting a message
// to the main window, so reports arrive like any other window event (also inside pauses).
// Reading another program's rich text box can block when that program hangs: it happens
// on the worker, never on the user-interface thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/ports.h"
#include "ui/transcript.h"

namespace zantic::win32 {

class Win32ChatScanner : public ChatScanner {
 public:
  // New lines are announced by posting `message` to `window`; its handler calls TakeLines.
  Win32ChatScanner(HWND window, UINT message, DWORD interval_ms = 100);
  ~Win32ChatScanner() override;
  Win32ChatScanner(const Win32ChatScanner&) = delete;
  Win32ChatScanner& operator=(const Win32ChatScanner&) = delete;

  void StartScanning() override;
  // The lines reported since the last call, in order.
  std::vector<ChatLineReport> TakeLines();

 private:
  static DWORD WINAPI Worker(void* self);
  void Run();

  HWND window_;
  UINT message_;
  DWORD interval_ms_;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
  std::mutex mutex_;
  std::vector<ChatLineReport> pending_;
  bool announced_ = false;  // a message is on its way and the lines not yet taken
};

}  // namespace zantic::win32
