#include "core/digest.h"

#include <cstdio>

#include "core/announcement.h"
#include "core/texts.h"
#include "platform/text.h"

namespace zantic {
namespace {

bool IsWordByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u >= 0x80;
}

// The length of `name` matched at `at` in `text`, or 0.
std::size_t MatchAt(std::string_view text, std::size_t at, std::string_view name) {
  std::size_t t = at;
  for (std::size_t n = 0; n < name.size();) {
    if (IsBlank(name[n])) {
      if (t >= text.size() || !IsBlank(text[t])) return 0;
      while (n < name.size() && IsBlank(name[n])) ++n;
      while (t < text.size() && IsBlank(text[t])) ++t;
      continue;
    }
    if (t >= text.size() || AsciiLower(text[t]) != AsciiLower(name[n])) return 0;
    ++t, ++n;
  }
  return t - at;
}

}  // namespace

bool Mentions(std::string_view text, std::string_view name) {
  const std::string_view trimmed = TrimBlanks(name);
  if (trimmed.empty()) return false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (at > 0 && IsWordByte(text[at - 1]) && IsWordByte(trimmed.front())) continue;
    const std::size_t length = MatchAt(text, at, trimmed);
    if (length == 0) continue;
    const std::size_t end = at + length;
    if (end < text.size() && IsWordByte(text[end]) && IsWordByte(trimmed.back())) continue;
    return true;
  }
  return false;
}

void RoomDigest::Begin(std::string screen_name, std::string handle) {
  *this = RoomDigest{};
  screen_name_ = std::move(screen_name);
  handle_ = std::move(handle);
  collecting_ = true;
}

void RoomDigest::Line(std::string_view speaker, std::string_view text, int minute_of_day) {
  if (!collecting_ || (!screen_name_.empty() && speaker == screen_name_)) return;
  ++others_;
  // Lines of the program, any user's copy of it, are never mentions.
  if (text.substr(0, kProgramLineShown.size()) == kProgramLineShown) return;
  if (!Mentions(text, screen_name_) && !Mentions(text, handle_)) return;
  ++mentioned_;
  mentions_.push_back({minute_of_day, std::string(speaker), std::string(text)});
  if (mentions_.size() > kKept) mentions_.pop_front();
}

void RoomDigest::End(std::string_view minutes) {
  minutes_ = std::string(minutes);
  collecting_ = false;
  ended_ = true;
}

std::string RoomDigest::Heading() const {
  return DigestHeading(others_, minutes_, mentioned_, mentioned_ - mentions_.size());
}

std::string RoomDigest::Lines() const {
  std::string lines;
  for (const Mention& m : mentions_) {
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", m.minute_of_day / 60 % 24, m.minute_of_day % 60);
    lines += std::string(time) + "  " + m.speaker + ": " + m.text + "\r\n";
  }
  return lines;
}

}  // namespace zantic
