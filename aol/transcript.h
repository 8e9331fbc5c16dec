// Following the chat room's transcript from outside: which lines are new since the last
// look, with their speakers, at a cost that grows with the new lines, not with the
// transcript.
//
// The transcript is a rich text box of the AOL client. Each line is one paragraph,
// "<speaker>:<TAB><text>"; the client drops its oldest lines off the top as new ones
// arrive, and may change a line it already shows: a smiley drawn as a picture (which then
// reads as U+FFFC), a line formatted anew, a line replaced.
//
// The place. The tracker remembers the last whole lines it has read and the position where
// they ended: its anchor (at least kAnchorLength characters of them, always from the start
// of a line, so that long lines which end alike cannot stand in for one another), and the
// lines before the anchor too, kRememberedLines lines at least in all. At each look it reads
// from just before the anchor's position to the end: normally the anchor is still there and
// what follows it is new. When lines have dropped off the top, the anchor has moved towards
// the start: the tracker reads a wider stretch before the old position, doubling it until
// the anchor turns up.
//
// Lines changed in place. When the anchor is not there as it was (or turns up only after a
// widening), the tracker also sets the remembered lines against the lines it read, one for
// one, the last remembered line against each line in turn; once the whole transcript is
// read, also against its first lines, the remembered lines above them taken as dropped off
// the top. A place weighs the remembered lines that stand there as they were, less the
// lines that differ (changed in place), less half as much for the lines dropped off (rooms
// drop lines all the time). The latest of the heaviest places is taken; but where every
// remembered line stands at the heaviest, a later place where kChangedLines of them at most
// differ wins over it (an earlier run of the same lines, unchanged, is not taken for the
// lines read last, a few of which have changed). Short of the top, a place counts only
// where all but kChangedLines of the remembered lines stand: a better one may lie further
// back. The line set against the last remembered line is where the read stopped, changed
// or not, and the lines after it are new: a line changed in place is never reported again,
// and the user's old "hide" is never obeyed twice. Such a look reads back as far as the
// remembered lines stand, at worst the whole transcript, once.
//
// When the tracker cannot tell, lines are taken as read: missing a line is better than
// obeying an old command. Of places that weigh the same, the latest is taken: the reading
// that reports fewer lines. And when not one remembered line stands anywhere: a transcript
// that now holds fewer lines than the anchor did cannot be those lines changed in place,
// it was cleared, and all its lines are new; any other cannot be told from a transcript
// whose every remembered line was changed in place, and all of it is taken as read. So are
// more lines than the room keeps, said between two looks: they are lost (at the scanner's
// pace, a room that keeps a thousand lines would have to say them within a tenth of a
// second), and so is what follows a room's only line when that line changes.
//
// A transcript seen for the first time (at the start, or another window) is history: none
// of its lines are reported. A look that finds no transcript keeps the place: when the same
// window comes back (its room lacked one of its parts for a moment), the tracker goes on
// from there, and what was said meanwhile is reported then, once.
//
// What the text alone cannot tell apart: new lines that repeat, word for word and in order,
// the lines read last (all of them but kChangedLines, or the whole anchor where the anchor
// has moved) are taken for those lines and not reported; in a run of lines alike with one
// changed, a line said anew may be taken for one read; and when so many remembered lines
// have changed that an earlier run of the same lines, unchanged, weighs more than their own
// place, that run is taken for them and the lines after it are reported again. The last
// needs a room that repeats a run of its lines verbatim and changes several of them at once.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace zantic {

struct ChatLineReport {
  std::string speaker;
  std::string text;
  bool operator==(const ChatLineReport&) const = default;
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
  // Asked before a look reports new lines: whether they may be reported now (the room is
  // still whole). When not, the look reports nothing and keeps its place, and the lines
  // are reported by a later look.
  virtual bool MayReport() { return true; }
};

class TranscriptTracker {
 public:
  // Characters of already-read text, at least, kept to find the read position again (in
  // whole lines: the last line alone may be longer).
  static constexpr std::size_t kAnchorLength = 256;
  // Lines read last, at least, kept to find the place when the anchor has changed.
  static constexpr std::size_t kRememberedLines = 8;
  // Lines read last that may change in place between two looks, at most, for their place to
  // be found short of the top, or taken over an earlier one where they all stand.
  static constexpr std::size_t kChangedLines = 2;
  // The first widening of the search when the anchor has moved.
  static constexpr long kFirstSearch = 4096;

  // One look at the transcript: the lines that are new since the last look, in order.
  std::vector<ChatLineReport> Poll(TranscriptReader& reader);

  // Reads spent by the last Poll, in characters (for benchmarks and tests).
  std::size_t last_read_chars() const { return last_read_chars_; }
  // Whether the last Poll found the text after its place changed, whether or not it had
  // lines to report (lines it could not place are taken as read, but the room is not quiet).
  bool last_look_moved() const { return moved_; }

 private:
  // Takes the place: `text` read from `from`, the lines from `known` on (where a line
  // begins) as read, and the first `kept` of the remembered lines as standing before them.
  void Settle(std::u16string_view text, long from, std::size_t known, std::size_t kept);

  Hwnd transcript_ = kNoWindow;
  long end_ = 0;           // transcript position just after the last text read
  std::u16string anchor_;  // the whole lines that end at end_ (kAnchorLength units or more)
  std::vector<std::u16string> remembered_;  // the last lines read, oldest first; the anchor's are the last
  std::size_t last_read_chars_ = 0;
  bool moved_ = false;
};

// The lines of a stretch of transcript text: paragraphs split at breaks ('\r' or '\n'),
// each cut at its first ":\t" into speaker and text. Paragraphs without a speaker (empty,
// or without the separator) are not chat lines and are skipped.
std::vector<ChatLineReport> ParseTranscriptLines(std::u16string_view text);

}  // namespace zantic
