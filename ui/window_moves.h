// The main window's own moves: kept on top, dragged, slid out of view at the end.
#pragma once

#include "platform/event_loop.h"
#include "platform/own_window.h"

namespace zantic {

// Puts the window into the band of topmost windows (and activates it).
void KeepOnTop(OwnWindow& own_window, Hwnd window);

// Moves the window with the mouse, begun by a press of `button`; returns when the move is
// over. The left button starts the system's move loop; the right and middle buttons, which
// that loop does not follow, the program's own, which ends when that button is released.
void BeginWindowDrag(OwnWindow& own_window, Hwnd window, MouseButton button = MouseButton::Left);

// Moves the window down 300 twips at a time, handling events between steps, until its top
// is below 7200 twips. Makes at least one step, and never more than that way takes from
// where it began (plus one for the rounding of twips to pixels), nor for longer than
// kSlideSeconds: a window that cannot go so low (a window manager that keeps it on the
// screen) ends the slide all the same.
inline constexpr double kSlideSeconds = 2;
void SlideOutWindow(OwnWindow& own_window, EventLoop& events, Hwnd window);

}  // namespace zantic
