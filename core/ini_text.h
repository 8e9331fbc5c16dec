// Reading and writing one entry of an INI text the way the platform's private-profile
// calls read it, while leaving every other byte of the text as it was: comments, blank
// lines, spacing, line endings, other sections, duplicates and lines it cannot make sense
// of all survive a write unchanged.
//
// Names match without regard to case (ASCII letters), with blanks around them ignored. The
// first section with the name counts, and in it the first key. A value loses the blanks
// around it and one pair of quotes ('...' or "...") around it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zantic {

// The value of `key` in `section`, or nothing when either is missing.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text with `key` in `section` set to `value`: the value of an existing key is replaced
// in place (the key keeps its spelling); a missing key is added at the end of its section,
// and a missing section at the end of the text, in the text's own line endings (CRLF for a
// new text). Line breaks inside `value` become blanks, so a value cannot add lines. A value
// with blanks at either end, or in quotes, is written inside quotes so that it reads back
// unchanged.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace zantic
