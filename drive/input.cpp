#include "drive/input.h"

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
  MoveMouse(at);
  Press(button, true);
  Press(button, false);
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

}  // namespace drive
