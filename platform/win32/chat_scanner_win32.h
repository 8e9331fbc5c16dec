// The chat scanner behind Chat1: a worker thread looks at the chat room's transcript every
// 150 ms and hands the new lines to the user-interface thread by posting a message to the
// main window, so reports arrive like any other window event (also inside pauses).
// A look costs a handful of round trips to the window system (about 0.2 ms of processor
// time under Wine, as much again in the wineserver): at this pace a line reaches the
// program about 80 ms after it was said, at about 0.13% of a core.
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
  Win32ChatScanner(HWND window, UINT message, DWORD interval_ms = 150);
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
  std::atomic<bool> stop_{false};
  HANDLE thread_ = nullptr;
  std::mutex mutex_;
  std::vector<ChatLineReport> pending_;
  bool announced_ = false;  // a message is on its way and the lines not yet taken
};

}  // namespace zantic::win32
