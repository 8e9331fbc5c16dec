// The program's own top-level window on the screen, as user32 places and moves it: its
// place among the topmost windows, its top edge, and moves with the mouse. The AOL client's
// windows are another port (platform/window_system.h).
#pragma once

#include <cstdint>

#include "platform/window_handle.h"

namespace zantic {

namespace wm {
inline constexpr unsigned kSysCommand = 0x0112;
}  // namespace wm

// The mouse buttons that can start a move of the window.
enum class MouseButton { Left, Right, Middle };

// SetWindowPos arguments used by the program.
inline constexpr Hwnd kHwndTopmost = static_cast<Hwnd>(-1);
inline constexpr unsigned kSwpNoSize = 0x0001;
inline constexpr unsigned kSwpNoMove = 0x0002;

class OwnWindow {
 public:
  virtual ~OwnWindow() = default;
  virtual void SetWindowPos(Hwnd window, Hwnd insert_after, int x, int y, int cx, int cy,
                            unsigned flags) = 0;
  virtual void ReleaseCapture() = 0;
  // Sent to the program's own window: handled on this thread before it returns.
  virtual std::intptr_t SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                     std::intptr_t lparam) = 0;
  // The window's top edge, in twips from the top of the screen.
  virtual double GetWindowTop(Hwnd window) = 0;
  virtual void SetWindowTop(Hwnd window, double twips) = 0;
  // Moves the window with the mouse pointer, handling the program's other events meanwhile,
  // until `button` is released or the window loses the mouse capture; then returns. For
  // the buttons that the system's own move loop does not follow.
  virtual void MoveWithMouse(Hwnd window, MouseButton button) = 0;
};

}  // namespace zantic
