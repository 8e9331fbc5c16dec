// The chat scanner's decisions: when to look, which room to read and when to look for it
// again (ChatRoomWatch), where its place in the room's transcript is and which lines are new
// (TranscriptTracker). Reading the text is the window system's; the scanner's thread is the
// main window's (ui/win32/chat1.h).
//
// When to look. A look reads the room through the client: under Wine about eight round
// trips to the window system (the time of the last input; the message into the client, which
// the system routes, waits on and answers; the text it put in the memory lent), each of which
// puts the thread to sleep and wakes it. The user's "hide" and "show" can only come while
// someone is at the keyboard, and they must be answered at once; the other members' lines
// are only kept for later. So the scanner looks every 100 ms while the user has given input
// in the last few seconds; every 150 ms while only the room is busy, that is while looks keep
// finding new text (a flood is read in time, and a room busy for hours while its user is
// away costs no more than it must); and every 3 s in a quiet room with nobody at the
// keyboard, where a look now and then is all the room needs: a program that waits there
// wakes some twenty times a minute for it, not fifty. A look that finds nothing new is back
// at the quiet pace, so a line now and then (the run's own minute line among them) costs
// one quick look after it, not seconds of them. The scanner sleeps from one look to the
// next and wakes for nothing else: each look asks for the time of the user's last input, so
// the look after the user comes back (within 3 s of the first touch of the mouse or the
// keyboard, before a command can be typed out) puts the scanner at its full pace.
#pragma once

#include <cstdint>
#include <vector>

#include "aol/chat_room.h"
#include "aol/transcript.h"
#include "platform/window_system.h"

namespace zantic {

class RoomScanner {
 public:
  // Input this recent keeps the scanner at its quickest pace.
  static constexpr std::uint32_t kInputMs = 5000;
  // Milliseconds from one look to the next: someone at the keyboard, a busy room, all quiet.
  static constexpr std::uint32_t kInputTickMs = 100;
  static constexpr std::uint32_t kTickMs = 150;
  static constexpr std::uint32_t kQuietTickMs = 3000;

  explicit RoomScanner(WindowSystem& windows) : reader_(windows) {}

  // One tick of the scanner's clock: a look, which also sets the pace (see above).
  // `now_ms` and `last_input_ms` are the system's millisecond ticks.
  std::vector<ChatLineReport> Tick(std::uint32_t now_ms, std::uint32_t last_input_ms);
  // How long to sleep to the next tick, by what the last tick found.
  std::uint32_t NextTickMs() const { return input_ ? kInputTickMs : busy_ ? kTickMs : kQuietTickMs; }

  // One look at the room: the lines said there since the last look, in order. What a room
  // holds when it is first looked at (at the start, or a room newly found) is history and
  // is not reported. A room that cannot be read now (a hung client), or that lacks one of
  // its parts for a moment (it is no chat room then), is read again at a later look, and
  // what was said meanwhile is reported then: a room that comes back with the same
  // transcript is the same room. So a "hide" said while the room is not whole is answered
  // once it is, when the answer can reach it. Whether the room is still whole is asked only
  // when a look has lines to report: a quiet look costs nothing more.
  std::vector<ChatLineReport> Look() { return tracker_.Poll(reader_); }

  // Characters read by the last look (for benchmarks and tests).
  std::size_t last_read_chars() const { return tracker_.last_read_chars(); }

 private:
  class Reader final : public TranscriptReader {
   public:
    explicit Reader(WindowSystem& windows) : windows_(windows) {}
    Hwnd Transcript() override;
    std::optional<std::u16string> ReadFrom(Hwnd transcript, long from) override;
    bool MayReport() override;

   private:
    WindowSystem& windows_;
    ChatRoomWatch rooms_;
    Hwnd room_ = kNoWindow, transcript_ = kNoWindow;
  };

  Reader reader_;
  TranscriptTracker tracker_;
  bool input_ = false, busy_ = false;
};

}  // namespace zantic
