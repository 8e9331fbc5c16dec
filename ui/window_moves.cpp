#include "ui/window_moves.h"

#include <cmath>

#include "core/pause.h"

namespace zantic {

void KeepOnTop(OwnWindow& own_window, Hwnd window) {
  own_window.SetWindowPos(window, kHwndTopmost, 0, 0, 0, 0, kSwpNoSize | kSwpNoMove);
}

void BeginWindowDrag(OwnWindow& own_window, Hwnd window, MouseButton button) {
  if (button != MouseButton::Left) {
    own_window.MoveWithMouse(window, button);
    return;
  }
  // SC_MOVE | 2 (a move with the mouse), as the 16-bit value 0xF012 sign-extended.
  constexpr std::intptr_t kMoveWithMouse = -4078;
  own_window.ReleaseCapture();
  own_window.SendMessageA(window, wm::kSysCommand, static_cast<std::uintptr_t>(kMoveWithMouse), 0);
}

void SlideOutWindow(OwnWindow& own_window, EventLoop& events, Hwnd window) {
  constexpr double kStep = 300;
  constexpr double kLimit = 7200;
  const double start = std::floor(own_window.GetWindowTop(window));
  const int steps = start > kLimit ? 1 : static_cast<int>((kLimit - start) / kStep) + 2;
  const double deadline = events.Now() + kSlideSeconds;
  for (int step = 0; step < steps && events.Now() < deadline; ++step) {
    PumpEvents(events);
    own_window.SetWindowTop(window, std::floor(own_window.GetWindowTop(window)) + kStep);
    if (own_window.GetWindowTop(window) > kLimit) return;
  }
}

}  // namespace zantic
