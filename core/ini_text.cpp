#include "core/ini_text.h"

#include <vector>

#include "platform/text.h"

namespace zantic {
namespace {

// One line of the text: [begin, content_end) is its content, [content_end, end) its break.
struct Line {
  std::size_t begin, content_end, end;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t nl = text.find('\n', begin);
    const std::size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
    std::size_t content_end = nl == std::string_view::npos ? text.size() : nl;
    if (content_end > begin && text[content_end - 1] == '\r') --content_end;
    lines.push_back({begin, content_end, end});
    begin = end;
  }
  return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view content) {
  content = TrimBlanks(content);
  if (content.empty() || content.front() != '[') return std::nullopt;
  const auto close = content.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(content.substr(1, close - 1));
}

struct Entry {
  std::size_t value_begin, value_end;  // the raw value's place in the text
};

// The key line of `key` in the first section named `section`, and where that section ends
// (the end of its last line), or nothing when there is no such section.
struct Place {
  std::optional<Entry> entry;
  std::size_t section_end;
};

std::optional<Place> Locate(std::string_view text, const std::vector<Line>& lines,
                            std::string_view section, std::string_view key) {
  std::optional<Place> place;
  for (const Line& line : lines) {
    const std::string_view content = text.substr(line.begin, line.content_end - line.begin);
    if (auto name = SectionName(content)) {
      if (place) break;  // the end of the first matching section
      if (EqualsIgnoringAsciiCase(*name, section)) place = Place{std::nullopt, line.end};
      continue;
    }
    if (!place) continue;
    place->section_end = line.end;
    if (place->entry) continue;
    const auto equals = content.find('=');
    if (equals == std::string_view::npos || !EqualsIgnoringAsciiCase(TrimBlanks(content.substr(0, equals)), key)) continue;
    place->entry = Entry{line.begin + equals + 1, line.content_end};
  }
  return place;
}

std::string_view LineBreakOf(std::string_view text) {
  const auto nl = text.find('\n');
  if (nl != std::string_view::npos && (nl == 0 || text[nl - 1] != '\r')) return "\n";
  return "\r\n";
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  const auto place = Locate(text, SplitLines(text), section, key);
  if (!place || !place->entry) return std::nullopt;
  std::string_view value =
      TrimBlanks(text.substr(place->entry->value_begin, place->entry->value_end - place->entry->value_begin));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::string clean(value);
  for (char& c : clean) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  // Reading drops the blanks around a value and one pair of quotes around it: a value that
  // would lose either is written inside quotes, so it reads back exactly as it was.
  const bool loses_blanks = !clean.empty() && (IsBlank(clean.front()) || IsBlank(clean.back()));
  const bool loses_quotes = clean.size() >= 2 && (clean.front() == '"' || clean.front() == '\'') &&
                            clean.back() == clean.front();
  if (loses_blanks || loses_quotes) clean = '"' + clean + '"';
  const std::string_view br = LineBreakOf(text);
  const auto place = Locate(text, SplitLines(text), section, key);
  std::string out;
  out.reserve(text.size() + key.size() + clean.size() + section.size() + 8);
  if (place && place->entry) {
    out.append(text.substr(0, place->entry->value_begin));
    out += clean;
    out.append(text.substr(place->entry->value_end));
    return out;
  }
  const std::string entry = std::string(key) + "=" + clean + std::string(br);
  if (place) {
    // At the end of the section; its last line gets a break if it had none.
    out.append(text.substr(0, place->section_end));
    if (place->section_end > 0 && text[place->section_end - 1] != '\n') out += br;
    out += entry;
    out.append(text.substr(place->section_end));
    return out;
  }
  out.append(text);
  if (!text.empty() && text.back() != '\n') out += br;
  out += "[" + std::string(section) + "]" + std::string(br) + entry;
  return out;
}

}  // namespace zantic
