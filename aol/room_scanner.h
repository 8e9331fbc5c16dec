// The chat scanner's decisions: which room to read and when to look for it again
// (ChatRoomWatch), where its place in the room's transcript is and which lines are new
// (TranscriptTracker). Reading the text is the window system's; the scanner's thread and
// its pace are the main window's (ui/win32/chat1.h).
#pragma once

#include <vector>

#include "aol/chat_room.h"
#include "aol/transcript.h"
#include "platform/window_system.h"

namespace zantic {

class RoomScanner {
 public:
  explicit RoomScanner(WindowSystem& windows) : reader_(windows) {}

  // One look at the room: the lines said there since the last look, in order. What a room
  // holds when it is first looked at (at the start, or a room newly found) is history and
  // is not reported. A room that cannot be read now (a hung client) is read again at the
  // next look, and what was said meanwhile is reported then.
  std::vector<ChatLineReport> Look() { return tracker_.Poll(reader_); }

  // Characters read by the last look (for benchmarks and tests).
  std::size_t last_read_chars() const { return tracker_.last_read_chars(); }

 private:
  class Reader final : public TranscriptReader {
   public:
    explicit Reader(WindowSystem& windows) : windows_(windows) {}
    Hwnd Transcript() override;
    std::optional<std::u16string> ReadFrom(Hwnd transcript, long from) override;

   private:
    WindowSystem& windows_;
    ChatRoomWatch rooms_;
    Hwnd room_ = kNoWindow, transcript_ = kNoWindow;
  };

  Reader reader_;
  TranscriptTracker tracker_;
};

}  // namespace zantic
