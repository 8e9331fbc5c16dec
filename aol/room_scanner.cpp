#include "aol/room_scanner.h"

#include "aol/client_windows.h"

namespace zantic {

std::vector<ChatLineReport> RoomScanner::Tick(std::uint32_t now_ms, std::uint32_t last_input_ms) {
  input_ = now_ms - last_input_ms < kBusyMs;
  const bool busy = lines_seen_ && now_ms - last_lines_ms_ < kBusyMs;
  quiet_ = !input_ && !busy;
  if (quiet_ && ++ticks_since_look_ < kQuietTicksPerLook) return {};
  ticks_since_look_ = 0;
  auto lines = Look();
  if (!lines.empty()) {
    lines_seen_ = true;
    last_lines_ms_ = now_ms;
  }
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
