// How the stand-in's chat room shows a posted line: the HTML of the line turned into runs
// of text with one look each, the way the AOL client renders chat markup. Portable C++
// (no <windows.h>), so it is unit-tested natively.
//
// What it understands: <font color= face= size= back=> and </font>, <b> <i> <u> <s> and
// their closers (also <strong> <em> <strike>), links <a href=...> / < a href=...> (the link
// text is shown underlined in the link colour until a </u> or a <font color> says
// otherwise) and </a>, <br> <p> <hr> (a blank: nothing starts a new transcript line), and
// the entities &amp; &lt; &gt; &quot; &apos; &nbsp; &#N; &#xN;. Other tags are dropped.
// Tags are never closed implicitly and need not be closed at all; a closer without an
// opener (</u>, </font>) just switches its effect off. A '<' that starts no tag (no name
// after it, or no '>' within 2048 characters) is shown as typed, and so is an '&' that
// starts no entity. Any text renders in time linear in its length.
//
// Line breaks and other control characters (all but tab) are shown as blanks, so a text
// can never put a second line, of another speaker, into the transcript.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace aolsim {

// Colours are 0x00BBGGRR, as the platform's rich edit takes them.
inline constexpr std::uint32_t kDefaultTextColor = 0x000000;
inline constexpr std::uint32_t kLinkColor = 0xFF0000;  // blue
inline constexpr std::uint32_t kNoBackColor = 0xFFFFFFFF;
inline constexpr int kDefaultSizePt = 10;
inline constexpr const char* kDefaultFace = "Arial";

struct TextStyle {
  std::uint32_t color = kDefaultTextColor;
  std::uint32_t back = kNoBackColor;
  std::string face = kDefaultFace;
  int size_pt = kDefaultSizePt;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  std::string link;  // the target, inside a link

  bool operator==(const TextStyle&) const = default;
};

struct Run {
  std::string text;  // UTF-8
  TextStyle style;
  bool operator==(const Run&) const = default;
};

// The runs of one posted text, adjacent runs of the same look merged, no empty runs.
std::vector<Run> RenderChatHtml(std::string_view html);

// The text of the runs, one after the other.
std::string PlainText(const std::vector<Run>& runs);

// A text with every line break and control character (all but tab) turned into a blank.
std::string OneLine(std::string_view utf8);

// True for faces whose glyphs are symbols (they need the symbol character set).
bool IsSymbolFace(std::string_view face);

}  // namespace aolsim
