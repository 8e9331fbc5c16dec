// A chat room's transcript as the client keeps it: the latest `cap` lines, a break between
// lines; it can be made unreadable (a client that hangs) and moved to another window.
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

  void Add(std::u16string line) {
    lines_.push_back(std::move(line));
    while (lines_.size() > cap_) lines_.pop_front();
  }
  void Say(const std::string& line) { Add(Utf8ToUtf16(line)); }  // "speaker:\ttext"
  void Clear() { lines_.clear(); }
  Hwnd Transcript() override { return window; }
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
