// A chat room's transcript as the client keeps it: the latest `cap` lines, a break between
// lines, a line changed in place now and then; it can be made unreadable (a client that
// hangs), its room incomplete or missing for a while, and it can move to another window.
#pragma once

#include <deque>
#include <string>

#include "aol/transcript.h"
#include "platform/text.h"

namespace zantic::fakes {

class FakeTranscript : public TranscriptReader {
 public:
  explicit FakeTranscript(std::size_t cap = 1000) : cap_(cap) {}
  Hwnd window = 0x77;
  bool readable = true;
  bool gone = false;   // no room is found
  bool whole = true;   // the room has all its parts

  void Add(std::u16string line) {
    lines_.push_back(std::move(line));
    while (lines_.size() > cap_) lines_.pop_front();
  }
  void Say(const std::string& line) { Add(Utf8ToUtf16(line)); }  // "speaker:\ttext"
  void Clear() { lines_.clear(); }
  // The line `from_end` from the end (1: the last), if there is one, now reads `line`.
  void Change(std::size_t from_end, const std::string& line) {
    if (from_end > 0 && from_end <= lines_.size()) lines_[lines_.size() - from_end] = Utf8ToUtf16(line);
  }
  Hwnd Transcript() override { return gone ? kNoWindow : window; }
  bool MayReport() override { return whole; }
  std::optional<std::u16string> ReadFrom(Hwnd, long from) override {
    if (!readable) return std::nullopt;
    std::u16string text;
    for (auto& line : lines_) text += (text.empty() ? u"" : u"\r") + line;
    if (from < 0 || from >= static_cast<long>(text.size())) return std::u16string();
    return text.substr(static_cast<std::size_t>(from));
  }

 private:
  std::size_t cap_;
  std::deque<std::u16string> lines_;
};

}  // namespace zantic::fakes
