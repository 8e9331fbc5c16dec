// The window messages of the program's own, beyond the system's: who sends each, to whom,
// and what it carries.
#pragma once

#include <windows.h>

namespace zantic::win32 {

// Posted by Chat1's thread to the main window: new chat-room lines wait in the scanner's
// inbox (ui/win32/chat1.h). It carries nothing itself.
inline constexpr UINT kChatLineMessage = WM_APP + 1;

// Sent by the shell to the main window: news of the tray icon (ui/win32/tray.h reads it).
inline constexpr UINT kTrayMessage = WM_APP + 2;

// Sent (or posted) to a label: press it as a click would, if it is shown and enabled.
inline constexpr UINT kLabelDoDefaultAction = WM_APP + 0x50;

// Registered: another copy of the program, started in this session, asks the running one's
// main window to bring itself back. Sent, and answered with the logic's CopyAnswer (0 while
// the logic is not attached yet).
inline UINT AnotherCopyMessage() {
  static const UINT message = RegisterWindowMessageW(L"zantic idle: another copy started");
  return message;
}

// Registered by the shell, broadcast when it has restarted: the tray icon is added again.
inline UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace zantic::win32
