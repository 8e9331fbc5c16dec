// Following the chat room's transcript from outside: which lines are new since the last
// look, with their speakers, at a cost that grows with the new lines, not with the
// transcript.
//
// The transcript is a rich text box of the AOL client. Each line is one paragraph,
// "<speaker>:<TAB><text>"; the client drops its oldest lines off the top as new ones
// arrive. The tracker remembers the last whole lines of what it has read (its anchor: at
// least kAnchorLength characters, and always from the start of a line, so that long lines
// which end alike cannot stand in for one another) and the position where they ended. At
// each look it reads from just before the anchor's position to the end:
// normally the anchor is still there and what follows it is new. When lines have dropped
// off the top, the anchor has moved towards the start: the tracker reads a wider stretch
// before the old position, doubling it until the anchor turns up. When its first lines
// have dropped off too, the lines left of it stand at the very top. When nothing of it is
// left (the transcript was cleared, or more lines arrived than it keeps), every line in it
// is new. A transcript seen for the first time (at the start, or a new room) is history:
// none of its lines are reported.
//
// One case cannot be told apart by anyone reading the text alone: when nearly the whole
// transcript has been replaced between two looks and the lines at the seam repeat the
// last lines read, a repeated line may be taken for one already read. At the scanner's
// pace this needs a room that says hundreds of lines within 100 ms.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace zantic {

struct ChatLineReport {
  std::string speaker;
  std::string text;
  bool operator==(const ChatLineReport&) const = default;
  friend void PrintTo(const ChatLineReport& r, std::ostream* os) {
    *os << "{" << r.speaker << ": " << r.text << "}";
  }
};

// What the tracker reads. Text is in the transcript's own units (UTF-16 code units), with
// each paragraph break as one '\r', so that string positions are transcript positions.
class TranscriptReader {
 public:
  virtual ~TranscriptReader() = default;
  // The room's transcript window, or 0 when no chat room is open.
  virtual Hwnd Transcript() = 0;
  // The text from position `from` to the end; nothing when it cannot be read now.
  virtual std::optional<std::u16string> ReadFrom(Hwnd transcript, long from) = 0;
};

class TranscriptTracker {
 public:
  // Characters of already-read text, at least, kept to find the read position again (in
  // whole lines: the last line alone may be longer).
  static constexpr std::size_t kAnchorLength = 256;
  // The first widening of the search when the anchor has moved.
  static constexpr long kFirstSearch = 4096;

  // One look at the transcript: the lines that are new since the last look, in order.
  std::vector<ChatLineReport> Poll(TranscriptReader& reader);

  // Reads spent by the last Poll, in characters (for benchmarks and tests).
  std::size_t last_read_chars() const { return last_read_chars_; }

 private:
  void Restart(Hwnd transcript, const std::u16string& text, long end);
  // Reports the lines of `text` from `new_from` on; the text from `known` on begins where
  // a line begins and becomes the source of the new anchor.
  void Consume(std::u16string_view text, std::size_t known, std::size_t new_from,
               std::vector<ChatLineReport>& out);

  Hwnd transcript_ = kNoWindow;
  long end_ = 0;           // transcript position just after the last text read
  std::u16string anchor_;  // the whole lines that end at end_ (kAnchorLength units or more)
  std::size_t last_read_chars_ = 0;
};

// The lines of a stretch of transcript text: paragraphs split at breaks ('\r' or '\n'),
// each cut at its first ":\t" into speaker and text. Paragraphs without a speaker (empty,
// or without the separator) are not chat lines and are skipped.
std::vector<ChatLineReport> ParseTranscriptLines(std::u16string_view text);

}  // namespace zantic
