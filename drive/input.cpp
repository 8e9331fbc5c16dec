#include "drive/input.h"

#include <string>
#include <vector>

#include "drive/sim.h"

namespace drive {

void MoveMouse(POINT to) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = (to.x * 65536 + w / 2) / w;
  in.mi.dy = (to.y * 65536 + h / 2) / h;
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  Sleep(40);
}

void Press(Button button, bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  switch (button) {
    case Button::Left: in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP; break;
    case Button::Right: in.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP; break;
    case Button::Middle: in.mi.dwFlags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP; break;
  }
  SendInput(1, &in, sizeof in);
  Sleep(80);
}

void Drag(POINT from, POINT to, Button button) {
  MoveMouse(from);
  Press(button, true);
  for (int i = 1; i <= 5; ++i) {
    MoveMouse(POINT{from.x + (to.x - from.x) * i / 5, from.y + (to.y - from.y) * i / 5});
  }
  Press(button, false);
  Sleep(150);
}

void Click(POINT at, Button button) {
  static POINT last_at{-1, -1};
  static DWORD last_time = 0;
  const DWORD since = GetTickCount() - last_time;
  const DWORD double_click = GetDoubleClickTime() + 50;
  if (at.x == last_at.x && at.y == last_at.y && since < double_click) Sleep(double_click - since);
  MoveMouse(at);
  Press(button, true);
  Press(button, false);
  last_at = at;
  last_time = GetTickCount();
}

void XClick(POINT at, int count) {
  // A program of the system beneath Wine, started by its path on the Z: drive. Wine does not
  // follow such a process's end, so the clicks are given the time they take.
  std::wstring command = L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(at.x) + L" " +
                         std::to_wstring(at.y) + L" click --repeat " + std::to_wstring(count) +
                         L" --delay 100 1";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  Sleep(400 + 100 * count);
}

void Key(WORD vk, bool shift) {
  std::vector<INPUT> keys;
  auto add = [&](WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(in);
  };
  if (shift) add(VK_SHIFT, false);
  add(vk, false);
  add(vk, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  Sleep(150);
}

void TypeText(const std::string& utf8) {
  std::vector<INPUT> keys;
  for (wchar_t c : Widen(utf8)) {
    for (bool up : {false, true}) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wScan = c;
      in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      keys.push_back(in);
    }
  }
  if (!keys.empty()) SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  Sleep(150);
}

bool BusyUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Key(VK_SHIFT);
    Sleep(850);
  }
  return true;
}

}  // namespace drive
