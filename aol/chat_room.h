// Finding the AOL chat room and the signed-on screen name, and posting chat lines.
// Every call looks its windows up afresh; nothing is held between calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace zantic {

// The first MDI child of the AOL client that has direct children of the classes
// "RICHCNTL", "_AOL_Listbox", "_AOL_Icon" and "_AOL_Static"; 0 when there is none.
Hwnd FindChatRoom(WindowSystem& windows);

// Types one complete chat line into the room's entry box and sends it. A line that finds
// no room (or no entry box) is lost silently.
void SendChatLine(WindowSystem& windows, std::string_view text);

// The window's text, always as many characters as the window reports for its length;
// where the text turns out shorter, the characters behind it are NUL.
std::string GetWindowTextString(WindowSystem& windows, Hwnd window);

// The screen name from the caption "Welcome, <name>!" of the client's Welcome window:
// everything between "Welcome, " and the first "!". Empty when there is no Welcome window,
// or when its caption holds no "!".
std::string GetScreenName(WindowSystem& windows);

// The screen name cut out of one caption, or nothing when the caption is no Welcome caption.
// (Exposed for tests and the fuzzer.)
std::optional<std::string> ScreenNameFromCaption(std::string_view caption);

}  // namespace zantic
