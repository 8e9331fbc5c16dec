// Mouse and keyboard input as a person gives it, through the system's input queue.
#pragma once

#include <windows.h>

#include <string>

namespace drive {

enum class Button { Left, Right, Middle };

void MoveMouse(POINT to);
void Press(Button button, bool down);
// Press at `from`, move in steps to `to`, release there.
void Drag(POINT from, POINT to, Button button);
void Click(POINT at, Button button = Button::Left);
void Key(WORD vk, bool shift = false);
// Types the text (UTF-8) into whatever has the keyboard focus.
void TypeText(const std::string& utf8);

}  // namespace drive
