// Finding the AOL chat room and the signed-on screen name, and posting chat lines.
// Every call looks its windows up afresh; nothing is held between calls (ChatRoomWatch,
// for the chat scanner, is the one exception).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "aol/client.h"
#include "platform/ports.h"

namespace zantic {

// The first MDI child of the AOL client that has direct children of the classes
// "RICHCNTL", "_AOL_Listbox", "_AOL_Icon" and "_AOL_Static"; 0 when there is none.
Hwnd FindChatRoom(WindowSystem& windows);

// FindChatRoom for a caller that asks several times a second (the chat scanner). A full search
// costs a dozen lookups, each a round trip to the window system. While the first child of
// the client's MDI client is the one the last search met, the room then found still
// stands: a room opened, or any window opened or closed at the front, changes that first
// child, and so does the client's end (its windows go with it). One lookup confirms it.
// Every seventh look, and the look after Forget, searches in full all the same, so a change
// behind the first child (a room closed behind the Welcome window, a second client) is
// seen within about a second at the scanner's pace.
class ChatRoomWatch {
 public:
  static constexpr int kLooksPerSearch = 7;
  Hwnd Find(WindowSystem& windows);
  // The next look searches in full (a caller that could not use the room says so).
  void Forget() { looks_until_search_ = 0; }

 private:
  Hwnd mdi_ = kNoWindow, first_child_ = kNoWindow, room_ = kNoWindow;
  int looks_until_search_ = 0;
};

// Types one complete chat line into the room's entry box and sends it, through the client's
// queue. Whatever the user had typed there and not yet sent is put back after the line,
// caret at its end. A line that finds no room (or no entry box) is lost silently.
void SendChatLine(AolClient& aol, std::string_view text);

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
