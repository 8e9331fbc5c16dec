// Waiting without freezing the main window, and the main window's own moves.
#pragma once

#include "platform/ports.h"

namespace zantic {

// Lets every pending window event run to its handler, nested inside the caller.
void PumpEvents(EventLoop& events);

// Returns once `seconds` have passed since the call, handling window events meanwhile.
// Between passes it sleeps until the next event or the deadline, whichever comes first,
// so a pause costs no processor time. A pause of 0 seconds or less returns at once
// without pumping.
void Pause(EventLoop& events, double seconds);

// Puts the window into the band of topmost windows (and activates it).
void KeepOnTop(WindowSystem& windows, Hwnd window);

// Starts the system's move of the window with the mouse; returns when the move is over.
void BeginWindowDrag(WindowSystem& windows, Hwnd window);

// Moves the window down 300 twips at a time, handling events between steps, until its top
// is below 7200 twips. Makes at least one step.
void SlideOutWindow(WindowSystem& windows, EventLoop& events, Hwnd window);

}  // namespace zantic
