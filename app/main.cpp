// zantic idle: the program's entry point.
#include <windows.h>

#include "aol/chat_room.h"
#include "core/announcement.h"
#include "platform/win32/event_loop_win32.h"
#include "platform/win32/window_system_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  zantic::win32::Win32WindowSystem windows;
  zantic::win32::Win32EventLoop events;
  zantic::SendChatLine(windows, zantic::LoadedByLine(""));
  return 0;
}
