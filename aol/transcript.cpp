#include "aol/transcript.h"

#include <algorithm>

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

// One line of a stretch of text: where it begins, and where it ends (at its break or at the
// end of the text).
struct Line {
  std::size_t begin, end;
};

// The lines of `text` from `at` on, where `at` begins a line; none in an empty text.
std::vector<Line> LinesFrom(std::u16string_view text, std::size_t at) {
  std::vector<Line> lines;
  if (text.empty()) return lines;
  for (std::size_t begin = at;;) {
    std::size_t end = begin;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    lines.push_back({begin, end});
    if (end == text.size()) return lines;
    begin = end + 1;
  }
}

constexpr long kChangedLines = static_cast<long>(TranscriptTracker::kChangedLines);

// A place of the remembered lines among the lines of a text: the index of the line set
// against the last remembered line, and its weight: two for each remembered line that
// stands there as it was, less two for each line set against a remembered line that
// differs (changed in place, by this reckoning), less one for each remembered line that
// would lie above the transcript's top (dropped off: more likely than a change, since rooms
// drop lines all the time, but not free).
struct Fit {
  std::size_t last = 0;
  long weight = 0;
};

// The remembered lines set against `lines` of `text`, one for one, the last remembered line
// against each line in turn. `top`: the lines are the transcript's first, so places where
// the first remembered lines would lie above them count too. The place is the latest of
// those with the greatest weight. When every remembered line stands there, a later place
// where kChangedLines at most differ is taken instead: an earlier run of the same lines,
// unchanged, is not taken for the lines read last when a few of those have changed.
// Nothing when no remembered line stands anywhere.
std::optional<Fit> FindRemembered(std::u16string_view text, const std::vector<Line>& lines,
                                  const std::vector<std::u16string>& remembered, bool top) {
  const long k = static_cast<long>(remembered.size());
  std::vector<Fit> fits;
  long best = 0;
  for (std::size_t e = top ? 0 : remembered.size() - 1; e < lines.size(); ++e) {
    const long compared = std::min(k, static_cast<long>(e) + 1);
    long standing = 0;
    for (long d = 0; d < compared; ++d) {
      const Line& line = lines[e - static_cast<std::size_t>(d)];
      standing += text.substr(line.begin, line.end - line.begin) == remembered[static_cast<std::size_t>(k - 1 - d)];
    }
    if (standing == 0) continue;
    const Fit fit{e, 2 * standing - 2 * (compared - standing) - (k - compared)};
    best = fits.empty() ? fit.weight : std::max(best, fit.weight);
    fits.push_back(fit);
  }
  const long slack = best == 2 * k ? 4 * kChangedLines : 0;
  for (auto fit = fits.rbegin(); fit != fits.rend(); ++fit) {
    if (fit->weight + slack >= best) return *fit;
  }
  return std::nullopt;
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

void TranscriptTracker::Settle(std::u16string_view text, long from, std::size_t known, std::size_t kept) {
  end_ = from + static_cast<long>(text.size());
  const std::u16string_view read = text.substr(known);
  anchor_ = std::u16string(WholeLineTail(read, kAnchorLength));
  // The anchor's lines, and lines before them up to kRememberedLines in all: from what was
  // read, then from those remembered before.
  const std::vector<Line> lines = LinesFrom(read, 0);
  const std::size_t anchor_lines = LinesFrom(anchor_, 0).size();
  const std::size_t want = std::max(kRememberedLines, anchor_lines);
  const std::size_t from_read = std::min(want, lines.size());
  const auto before = remembered_.begin() + static_cast<std::ptrdiff_t>(kept);
  std::vector<std::u16string> remembered(before - static_cast<std::ptrdiff_t>(std::min(kept, want - from_read)), before);
  for (std::size_t i = lines.size() - from_read; i < lines.size(); ++i) {
    remembered.emplace_back(read.substr(lines[i].begin, lines[i].end - lines[i].begin));
  }
  remembered_ = std::move(remembered);
}

std::vector<ChatLineReport> TranscriptTracker::Poll(TranscriptReader& reader) {
  last_read_chars_ = 0;
  moved_ = false;
  const Hwnd transcript = reader.Transcript();
  // No room for now: the place is kept for the same transcript, should it come back.
  if (transcript == kNoWindow) return {};
  if (transcript != transcript_) {
    // A transcript seen for the first time: what it holds is history.
    auto text = reader.ReadFrom(transcript, 0);
    if (!text) return {};
    last_read_chars_ = text->size();
    transcript_ = transcript;
    remembered_.clear();
    Settle(*text, 0, 0, 0);
    return {};
  }

  // Read from one character before the anchor, to see that a line begins there.
  const long anchor_start = end_ - static_cast<long>(anchor_.size());
  const std::size_t anchor_lines = LinesFrom(anchor_, 0).size();
  for (long widen = 0;; widen = widen == 0 ? kFirstSearch : widen * 2) {
    const long from = std::max(0L, anchor_start - 1 - widen);
    auto text = reader.ReadFrom(transcript, from);
    if (!text) return {};  // not readable now (a hung client): try again next time
    last_read_chars_ += text->size();
    const bool top = from == 0;
    // Where the read stopped in `text` (where the line read last ends, as it stands now),
    // where the lines taken as known begin, and how many remembered lines stand before them.
    std::optional<std::size_t> stop;
    std::size_t known = 0, kept = 0;
    const auto at = FindAnchor(*text, anchor_, static_cast<std::size_t>(anchor_start - from), top);
    if (at) {
      stop = *at + anchor_.size();
      known = *at;
      kept = remembered_.size() - std::min(remembered_.size(), anchor_lines);
    }
    if ((!at || widen > 0) && !remembered_.empty()) {
      // The lines that begin in the text: all of them from the top, else those after its
      // first break.
      const std::size_t first = top ? 0 : text->find_first_of(u"\r\n");
      const std::vector<Line> lines =
          first == std::u16string::npos ? std::vector<Line>{} : LinesFrom(*text, top ? 0 : first + 1);
      // Short of the top, a place is taken only where all the remembered lines stand but
      // kChangedLines at most: the place where they do may lie further back.
      std::optional<Fit> fit = FindRemembered(*text, lines, remembered_, top);
      if (fit && !top && fit->weight + static_cast<long>(4 * kChangedLines) < 2 * static_cast<long>(remembered_.size())) {
        fit.reset();
      }
      if (fit && (!stop || lines[fit->last].end > *stop)) {
        stop = lines[fit->last].end;
        known = lines.front().begin;
        kept = 0;
      }
      if (!stop && top) {
        // Nothing read stands where it was. Fewer lines than the anchor held: the transcript
        // was cleared, and what it holds is new. Else nothing can be told: all is taken as
        // read.
        stop = lines.size() < anchor_lines ? 0 : text->size();
      }
    } else if (!at && top) {
      stop = 0;  // nothing was remembered (the transcript was empty): all of it is new
    }
    if (!stop) continue;
    // The new lines begin after the line read last (at its break, which makes an empty first
    // paragraph, skipped), or at the start when all is new.
    auto lines = ParseTranscriptLines(std::u16string_view(*text).substr(*stop));
    if (!lines.empty() && !reader.MayReport()) return {};
    const long end = end_;
    const std::u16string anchor = std::move(anchor_);
    Settle(*text, from, known, kept);
    moved_ = end_ != end || anchor_ != anchor;
    return lines;
  }
}

}  // namespace zantic
