// Feeds arbitrary transcripts to the scanner's parser and tracker. The input is a script:
// the first byte picks how many lines the transcript keeps; then each byte either adds a
// line made of the following bytes, clears the transcript, changes one of its last lines in
// place, or takes a look. The tracker must never crash, and (while the transcript keeps
// enough lines and none changes) must report every added line exactly once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "aol/transcript.h"
#include "fakes/fake_transcript.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The parser alone, on the raw bytes as UTF-16 code units.
  std::u16string raw;
  for (std::size_t i = 0; i + 1 < size; i += 2) raw += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  (void)zantic::ParseTranscriptLines(raw);
  (void)zantic::Utf16ToUtf8(raw);

  if (size < 1) return 0;
  const std::size_t cap = 2 + data[0] % 64;
  zantic::fakes::FakeTranscript room(cap);
  zantic::TranscriptTracker tracker;
  tracker.Poll(room);
  std::size_t i = 1;
  std::size_t said = 0, reported = 0, since_look = 0;
  bool exact = true;
  while (i < size) {
    const std::uint8_t op = data[i++];
    if (op < 200) {
      // A distinct line: a serial number keeps lines apart, the bytes make it hostile.
      const std::size_t len = std::min<std::size_t>(op % 24, size - i);
      std::u16string line = u"m" + std::u16string(1, static_cast<char16_t>(u'a' + said % 26)) + u":\t";
      for (char c : std::to_string(said)) line += static_cast<char16_t>(c);
      for (std::size_t k = 0; k < len; ++k) {
        const char16_t c = data[i + k];
        line += (c == u'\r' || c == u'\n') ? u' ' : c;
      }
      i += len;
      if (op >= 100) line += std::u16string(300, u'x');  // the same long ending as others
      room.Add(line);
      ++said;
      if (++since_look >= cap) exact = false;
    } else if (op < 210) {
      room.Clear();
      exact = false;
    } else if (op < 220) {
      room.Change(1 + op % 4, "mx:\t\xEF\xBF\xBC" + std::to_string(said));
      exact = false;
    } else {
      reported += tracker.Poll(room).size();
      since_look = 0;
    }
  }
  reported += tracker.Poll(room).size();
  if (exact && reported != said) std::abort();
  return 0;
}
