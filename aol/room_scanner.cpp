#include "aol/room_scanner.h"

#include "aol/client_windows.h"

namespace zantic {

std::vector<ChatLineReport> RoomScanner::Tick(std::uint32_t now_ms, std::uint32_t last_input_ms) {
  auto lines = Look();
  input_ = now_ms - last_input_ms < kInputMs;
  busy_ = !lines.empty() || tracker_.last_look_moved();
  return lines;
}

Hwnd RoomScanner::Reader::Transcript() {
  const Hwnd room = rooms_.Find(windows_);
  if (room != room_) {
    room_ = room;
    transcript_ = windows_.FindWindowExA(room, kNoWindow, aol::kRichText, std::nullopt);
  }
  return transcript_;
}

std::optional<std::u16string> RoomScanner::Reader::ReadFrom(Hwnd transcript, long from) {
  auto text = windows_.ReadRichText(transcript, from);
  if (!text) {
    // Gone, hung or replaced: look for the room afresh next time.
    rooms_.Forget();
    room_ = kNoWindow;
  }
  return text;
}

bool RoomScanner::Reader::MayReport() { return rooms_.Whole(windows_); }

}  // namespace zantic
