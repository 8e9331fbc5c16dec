// Finding the AOL chat room and the signed-on screen name, and posting chat lines.
// Every call looks its windows up afresh; nothing is held between calls (ChatRoomWatch,
// for the chat scanner, is the one exception).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "aol/client.h"
#include "platform/window_system.h"

namespace zantic {

// The first MDI child of the AOL client that has direct children of the classes
// "RICHCNTL", "_AOL_Listbox", "_AOL_Icon" and "_AOL_Static"; 0 when there is none.
Hwnd FindChatRoom(WindowSystem& windows);

// FindChatRoom for a caller that asks several times a second (the chat scanner), at a
// fraction of the cost: a full search is a dozen lookups, each a round trip to the window
// system. The room found stands until the caller says it could not use it (Forget: the
// room closed, or the client ended); every kLooksPerCheck-th look makes sure the client's
// first MDI child is still the one the last search met (a room or any window opened in
// front changes it), and every kLooksPerSearch-th look searches in full all the same, so a
// change behind the first child (a room opened behind the others when none was open, a
// second client) is seen within a few seconds at the scanner's pace.
class ChatRoomWatch {
 public:
  static constexpr int kLooksPerCheck = 3;
  static constexpr int kLooksPerSearch = 21;
  Hwnd Find(WindowSystem& windows);
  // Whether the room found last still has a child of each of the four classes (its
  // transcript, which the caller has just read, is taken as there). When it has not, it is
  // no chat room for now: the looks search in full until a room is found again (for
  // kLooksPerSearch looks at most), so a room that lacked a part for a moment is back at
  // the next look after it is whole.
  bool Whole(WindowSystem& windows);
  // The next look searches in full.
  void Forget() { looks_ = 0; }

 private:
  Hwnd mdi_ = kNoWindow, first_child_ = kNoWindow, room_ = kNoWindow;
  int looks_ = 0;      // since the last full search; 0: search now
  int searching_ = 0;  // looks still to search in full, waiting for a room to be whole again
};

// Types one complete chat line into the room's entry box and sends it, through the client's
// queue. Whatever the user had typed there and not yet sent is put back after the line,
// caret at its end. A line that finds no room (or no entry box) is lost silently. `step`:
// the line is part of that step of a series (the queue may drop it once a later step is
// due, as long as nothing of it has reached the client).
void SendChatLine(AolClient& aol, std::string_view text, AolClient::Step step = {});

// The window's caption, always as many characters as the window reports for its length;
// where the caption turns out shorter, the characters behind it are NUL.
std::string GetWindowTextString(WindowSystem& windows, Hwnd window);

// The screen name from the caption "Welcome, <name>!" of the client's Welcome window:
// everything between "Welcome, " and the first "!". Empty when there is no Welcome window,
// or when its caption holds no "!".
std::string GetScreenName(WindowSystem& windows);

// The screen name cut out of one caption, or nothing when the caption is no Welcome caption.
std::optional<std::string> ScreenNameFromCaption(std::string_view caption);

}  // namespace zantic
