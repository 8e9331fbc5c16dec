#include "aol/transcript.h"

#include "platform/text.h"

namespace zantic {
namespace {

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// The rightmost place at or before `latest` where `anchor` stands in `text` as whole lines:
// it begins where a line begins (after a break, or at the start of a text that is the
// transcript's start) and ends where one ends (a break, or the end of the text).
std::optional<std::size_t> FindAnchor(std::u16string_view text, std::u16string_view anchor,
                                      std::size_t latest, bool text_starts_a_line) {
  if (anchor.empty()) return std::nullopt;
  std::size_t at = std::min(latest, text.size());
  for (;;) {
    at = text.rfind(anchor, at);
    if (at == std::u16string_view::npos) return std::nullopt;
    const std::size_t after = at + anchor.size();
    const bool starts = at == 0 ? text_starts_a_line : IsBreak(text[at - 1]);
    if (starts && (after == text.size() || IsBreak(text[after]))) return at;
    if (at == 0) return std::nullopt;
    --at;
  }
}

// The anchor for a stretch of transcript that begins where a line begins: its shortest
// run of whole last lines that is at least `length` long (all of it, when it is shorter).
// Whole lines, so that lines which end alike cannot stand in for one another.
std::u16string_view WholeLineTail(std::u16string_view text, std::size_t length) {
  if (text.size() <= length) return text;
  const std::size_t b = text.find_last_of(u"\r\n", text.size() - length - 1);
  return b == std::u16string_view::npos ? text : text.substr(b + 1);
}

// The length of the longest run of whole lines at the end of `anchor` that the transcript
// `text` begins with (0 when there is none).
std::size_t SurvivingTail(std::u16string_view text, std::u16string_view anchor) {
  for (std::size_t b = 0; b < anchor.size(); ++b) {
    if (!IsBreak(anchor[b])) continue;
    const std::u16string_view tail = anchor.substr(b + 1);
    if (tail.empty()) break;
    if (text.substr(0, tail.size()) == tail &&
        (tail.size() == text.size() || IsBreak(text[tail.size()]))) {
      return tail.size();
    }
  }
  return 0;
}

}  // namespace

std::vector<ChatLineReport> ParseTranscriptLines(std::u16string_view text) {
  std::vector<ChatLineReport> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = start;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    const std::u16string_view paragraph = text.substr(start, end - start);
    const std::size_t separator = paragraph.find(u":\t");
    if (separator != std::u16string_view::npos && separator > 0) {
      lines.push_back({Utf16ToUtf8(paragraph.substr(0, separator)),
                       Utf16ToUtf8(paragraph.substr(separator + 2))});
    }
    if (end == text.size()) break;
    start = end + 1;
  }
  return lines;
}

void TranscriptTracker::Restart(Hwnd transcript, const std::u16string& text, long end) {
  transcript_ = transcript;
  end_ = end;
  anchor_ = std::u16string(WholeLineTail(text, kAnchorLength));
}

void TranscriptTracker::Consume(std::u16string_view text, std::size_t known, std::size_t new_from,
                                std::vector<ChatLineReport>& out) {
  auto lines = ParseTranscriptLines(text.substr(new_from));
  out.insert(out.end(), lines.begin(), lines.end());
  // The new anchor: the last lines of what has now been read, from the known line start.
  anchor_ = std::u16string(WholeLineTail(text.substr(known), kAnchorLength));
}

std::vector<ChatLineReport> TranscriptTracker::Poll(TranscriptReader& reader) {
  std::vector<ChatLineReport> out;
  last_read_chars_ = 0;
  const Hwnd transcript = reader.Transcript();
  if (transcript == kNoWindow) {
    transcript_ = kNoWindow;
    return out;
  }
  if (transcript != transcript_) {
    // A transcript seen for the first time: what it holds is history.
    auto text = reader.ReadFrom(transcript, 0);
    if (!text) return out;
    last_read_chars_ = text->size();
    Restart(transcript, *text, static_cast<long>(text->size()));
    return out;
  }

  // Read from one character before the anchor, to see that a line begins there.
  const long anchor_start = end_ - static_cast<long>(anchor_.size());
  for (long widen = 0;; widen = widen == 0 ? kFirstSearch : widen * 2) {
    const long from = std::max(0L, anchor_start - 1 - widen);
    auto text = reader.ReadFrom(transcript, from);
    if (!text) return out;  // not readable now (a hung client): try again next time
    last_read_chars_ += text->size();
    const std::size_t latest = static_cast<std::size_t>(anchor_start - from);
    if (auto at = FindAnchor(*text, anchor_, latest, from == 0)) {
      Consume(*text, *at, *at + anchor_.size(), out);
      end_ = from + static_cast<long>(text->size());
      return out;
    }
    if (from == 0) {
      // The whole transcript has been searched. Lines dropping off the top may have taken
      // the anchor's first lines with them: the lines that are left of it then stand at the
      // very top. Without even those, the transcript was cleared or more lines came than
      // it keeps, and everything in it arrived after the last line read.
      const std::size_t survivors = SurvivingTail(*text, anchor_);
      Consume(*text, 0, survivors, out);
      end_ = static_cast<long>(text->size());
      return out;
    }
  }
}

}  // namespace zantic
