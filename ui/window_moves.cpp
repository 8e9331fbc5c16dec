#include "ui/window_moves.h"

#include <cmath>

#include "core/pause.h"

namespace zantic {

void KeepOnTop(WindowSystem& windows, Hwnd window) {
  windows.SetWindowPos(window, kHwndTopmost, 0, 0, 0, 0, kSwpNoSize | kSwpNoMove);
}

void BeginWindowDrag(WindowSystem& windows, Hwnd window, MouseButton button) {
  if (button != MouseButton::Left) {
    windows.MoveWithMouse(window, button);
    return;
  }
  // SC_MOVE | 2 (a move with the mouse), as the 16-bit value 0xF012 sign-extended.
  constexpr std::intptr_t kMoveWithMouse = -4078;
  windows.ReleaseCapture();
  windows.SendMessageA(window, wm::kSysCommand, static_cast<std::uintptr_t>(kMoveWithMouse), 0);
}

void SlideOutWindow(WindowSystem& windows, EventLoop& events, Hwnd window) {
  constexpr double kStep = 300;
  constexpr double kLimit = 7200;
  const double start = std::floor(windows.GetWindowTop(window));
  const int steps = start > kLimit ? 1 : static_cast<int>((kLimit - start) / kStep) + 2;
  const double deadline = events.Now() + kSlideSeconds;
  for (int step = 0; step < steps && events.Now() < deadline; ++step) {
    PumpEvents(events);
    windows.SetWindowTop(window, std::floor(windows.GetWindowTop(window)) + kStep);
    if (windows.GetWindowTop(window) > kLimit) return;
  }
}

}  // namespace zantic
