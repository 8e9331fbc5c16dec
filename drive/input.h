// Mouse and keyboard input as a person gives it, through the system's input queue.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace drive {

enum class Button { Left, Right, Middle };

void MoveMouse(POINT to);
void Press(Button button, bool down);
// Press at `from`, move in steps to `to`, release there.
void Drag(POINT from, POINT to, Button button);
// A click. A second click on the same spot within the system's double-click time would be a
// double-click: Click waits that time out first, so two calls are always two clicks.
void Click(POINT at, Button button = Button::Left);
// `count` left clicks in a row, 100 ms apart, through the X server's own input (xdotool), as
// a person's mouse gives them: two are a double-click. Returns once they are done.
void XClick(POINT at, int count);
void Key(WORD vk, bool shift = false);
// Types the text (UTF-8) into whatever has the keyboard focus.
void TypeText(const std::string& utf8);
// A user at the keyboard: Shift, which types nothing, pressed about once a second until
// `condition` holds (true) or `timeout` has passed.
bool BusyUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

}  // namespace drive
