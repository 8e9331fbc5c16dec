#include "sim/html_render.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/text.h"

namespace aolsim {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

std::string ToLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<std::uint32_t> ParseColor(std::string_view value) {
  std::string v = ToLower(Trim(value));
  static const std::pair<const char*, std::uint32_t> kNames[] = {
      {"black", 0x000000},   {"white", 0xFFFFFF},  {"red", 0xFF0000},    {"green", 0x008000},
      {"blue", 0x0000FF},    {"yellow", 0xFFFF00}, {"orange", 0xFFA500}, {"purple", 0x800080},
      {"navy", 0x000080},    {"teal", 0x008080},   {"gray", 0x808080},   {"grey", 0x808080},
      {"silver", 0xC0C0C0},  {"maroon", 0x800000}, {"lime", 0x00FF00},   {"aqua", 0x00FFFF},
      {"cyan", 0x00FFFF},    {"fuchsia", 0xFF00FF}, {"magenta", 0xFF00FF}, {"olive", 0x808000},
      {"pink", 0xFFC0CB},
  };
  std::optional<std::uint32_t> rgb;
  for (const auto& [name, value_rgb] : kNames) {
    if (v == name) rgb = value_rgb;
  }
  if (!rgb) {
    if (!v.empty() && v[0] == '#') v.erase(0, 1);
    const bool hex = !v.empty() && std::all_of(v.begin(), v.end(), [](char c) {
      return std::isxdigit(static_cast<unsigned char>(c)) != 0;
    });
    if (!hex) return std::nullopt;
    if (v.size() == 3) v = std::string{v[0], v[0], v[1], v[1], v[2], v[2]};
    if (v.size() != 6) return std::nullopt;
    rgb = static_cast<std::uint32_t>(std::strtoul(v.c_str(), nullptr, 16));
  }
  const std::uint32_t r = (*rgb >> 16) & 0xFF, g = (*rgb >> 8) & 0xFF, b = *rgb & 0xFF;
  return r | (g << 8) | (b << 16);
}

// HTML font sizes 1 to 7, in points; chat text is size 2 unless told otherwise.
std::optional<int> ParseSize(std::string_view value) {
  static constexpr int kPoints[] = {8, 10, 12, 14, 18, 24, 36};
  std::string v(Trim(value));
  if (v.empty()) return std::nullopt;
  const bool relative = v[0] == '+' || v[0] == '-';
  char* end = nullptr;
  const long n = std::strtol(v.c_str(), &end, 10);
  if (end == v.c_str() || *end != '\0') return std::nullopt;
  long index = relative ? 2 + n : n;
  index = std::clamp(index, 1L, 7L);
  return kPoints[index - 1];
}

struct Tag {
  std::string name;  // lower case
  bool closing = false;
  std::vector<std::pair<std::string, std::string>> attributes;  // names lower case

  const std::string* Attribute(std::string_view key) const {
    for (const auto& [k, v] : attributes) {
      if (k == key) return &v;
    }
    return nullptr;
  }
};

// A tag runs at most this many characters from its '<' to its '>'; a longer one is no tag.
// This keeps a text full of unfinished tags from costing time that grows with the square
// of its length.
constexpr std::size_t kMaxTagLength = 2048;

// Parses the tag that starts with the '<' at `start`. On success, `end` is the index after
// its '>'. Nothing when the '<' starts no tag. `last_close` is the position of the text's
// last '>'.
std::optional<Tag> ParseTag(std::string_view text, std::size_t start, std::size_t last_close, std::size_t& end) {
  const std::string_view s = text.substr(0, std::min(text.size(), start + kMaxTagLength));
  std::size_t i = start + 1;
  while (i < s.size() && IsSpace(s[i])) ++i;
  Tag tag;
  if (i < s.size() && s[i] == '/') {
    tag.closing = true;
    ++i;
    while (i < s.size() && IsSpace(s[i])) ++i;
  }
  if (i >= s.size() || !IsAlpha(s[i])) return std::nullopt;
  const std::size_t name_start = i;
  while (i < s.size() && IsAlnum(s[i])) ++i;
  tag.name = ToLower(s.substr(name_start, i - name_start));
  if (last_close == std::string_view::npos || last_close < i) return std::nullopt;

  while (i < s.size()) {
    while (i < s.size() && (IsSpace(s[i]) || s[i] == '/')) ++i;
    if (i >= s.size()) break;
    if (s[i] == '>') {
      end = i + 1;
      return tag;
    }
    const std::size_t key_start = i;
    while (i < s.size() && !IsSpace(s[i]) && s[i] != '=' && s[i] != '>') ++i;
    std::string key = ToLower(s.substr(key_start, i - key_start));
    std::size_t j = i;
    while (j < s.size() && IsSpace(s[j])) ++j;
    std::string value;
    if (j < s.size() && s[j] == '=') {
      ++j;
      while (j < s.size() && IsSpace(s[j])) ++j;
      if (j < s.size() && (s[j] == '"' || s[j] == '\'')) {
        const std::size_t close = s.find(s[j], j + 1);
        if (close == std::string_view::npos) {
          // An unbalanced quote: the value runs to the next '>'.
          const std::size_t stop = s.find('>', j + 1);
          if (stop == std::string_view::npos) return std::nullopt;
          value = std::string(s.substr(j + 1, stop - j - 1));
          tag.attributes.emplace_back(std::move(key), std::move(value));
          end = stop + 1;
          return tag;
        }
        value = std::string(s.substr(j + 1, close - j - 1));
        j = close + 1;
      } else {
        const std::size_t value_start = j;
        while (j < s.size() && !IsSpace(s[j]) && s[j] != '>') ++j;
        value = std::string(s.substr(value_start, j - value_start));
      }
      i = j;
    }
    tag.attributes.emplace_back(std::move(key), std::move(value));
  }
  return std::nullopt;
}

// Decodes the entity at `start` ('&'); on success `end` is the index after its ';'.
std::optional<std::string> ParseEntity(std::string_view s, std::size_t start, std::size_t& end) {
  const std::size_t semi_offset = s.substr(start + 1, 10).find(';');
  if (semi_offset == std::string_view::npos) return std::nullopt;
  const std::size_t semi = start + 1 + semi_offset;
  const std::string name(s.substr(start + 1, semi - start - 1));
  std::string out;
  if (name.size() > 1 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return std::nullopt;
    char* stop = nullptr;
    const unsigned long cp = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
    if (*stop != '\0' || cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return std::nullopt;
    }
    zantic::AppendUtf8(out, static_cast<char32_t>(cp));
  } else {
    static const std::pair<const char*, const char*> kNamed[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"},
    };
    const std::string lower = ToLower(name);
    for (const auto& [n, text] : kNamed) {
      if (lower == n) out = text;
    }
    if (out.empty()) return std::nullopt;
  }
  end = semi + 1;
  return out;
}

class Renderer {
 public:
  std::vector<Run> Render(std::string_view html) {
    const std::size_t last_close = html.rfind('>');
    const std::size_t last_comment_end = html.rfind("-->");
    std::size_t i = 0;
    while (i < html.size()) {
      const char c = html[i];
      std::size_t end = 0;
      if (c == '<') {
        if (html.substr(i, 4) == "<!--") {
          if (last_comment_end != std::string_view::npos && last_comment_end >= i + 4) {
            i = html.find("-->", i + 4) + 3;
            continue;
          }
        } else if (auto tag = ParseTag(html, i, last_close, end)) {
          Apply(*tag);
          i = end;
          continue;
        }
      } else if (c == '&') {
        if (auto text = ParseEntity(html, i, end)) {
          Emit(*text);
          i = end;
          continue;
        }
      }
      // Plain text up to the next character that may start markup.
      std::size_t next = html.find_first_of("<&", i + 1);
      if (next == std::string_view::npos) next = html.size();
      Emit(html.substr(i, next - i));
      i = next;
    }
    return std::move(runs_);
  }

 private:
  struct LinkEntry {
    TextStyle style;
    std::size_t font_depth;
  };

  void Emit(std::string_view text) {
    const std::string clean = OneLine(text);
    if (clean.empty()) return;
    if (!runs_.empty() && runs_.back().style == style_) {
      runs_.back().text += clean;
    } else {
      runs_.push_back(Run{clean, style_});
    }
  }

  void Apply(const Tag& tag) {
    const std::string& n = tag.name;
    if (n == "font") {
      if (tag.closing) {
        if (!fonts_.empty()) {
          const TextStyle& saved = fonts_.back();
          style_.color = saved.color;
          style_.back = saved.back;
          style_.face = saved.face;
          style_.size_pt = saved.size_pt;
          fonts_.pop_back();
        }
        return;
      }
      fonts_.push_back(style_);
      if (auto* v = tag.Attribute("color")) {
        if (auto color = ParseColor(*v)) style_.color = *color;
      }
      if (auto* v = tag.Attribute("back")) {
        if (auto color = ParseColor(*v)) style_.back = *color;
      }
      if (auto* v = tag.Attribute("face")) {
        // A list of faces: the first one is taken.
        std::string_view face = Trim(std::string_view(*v).substr(0, v->find(',')));
        if (!face.empty()) style_.face = std::string(face);
      }
      if (auto* v = tag.Attribute("size")) {
        if (auto size = ParseSize(*v)) style_.size_pt = *size;
      }
    } else if (n == "b" || n == "strong") {
      style_.bold = !tag.closing;
    } else if (n == "i" || n == "em") {
      style_.italic = !tag.closing;
    } else if (n == "u") {
      style_.underline = !tag.closing;
    } else if (n == "s" || n == "strike" || n == "del") {
      style_.strike = !tag.closing;
    } else if (n == "a") {
      if (tag.closing) {
        if (!links_.empty()) {
          style_ = links_.back().style;
          fonts_.resize(std::min(fonts_.size(), links_.back().font_depth));
          links_.pop_back();
        }
        return;
      }
      const std::string* href = tag.Attribute("href");
      if (!href) return;
      links_.push_back(LinkEntry{style_, fonts_.size()});
      style_.link = *href;
      style_.underline = true;
      style_.color = kLinkColor;
    } else if (!tag.closing && (n == "br" || n == "p" || n == "hr" || n == "div" || n == "li")) {
      Emit(" ");
    }
  }

  TextStyle style_;
  std::vector<TextStyle> fonts_;
  std::vector<LinkEntry> links_;
  std::vector<Run> runs_;
};

}  // namespace

std::vector<Run> RenderChatHtml(std::string_view html) { return Renderer().Render(html); }

std::string PlainText(const std::vector<Run>& runs) {
  std::string out;
  for (const Run& run : runs) out += run.text;
  return out;
}

std::string OneLine(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if ((c < 0x20 && c != '\t') || c == 0x7F) {
      out += ' ';
    } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0x85) {
      out += ' ';  // NEL
      ++i;
    } else if (c == 0xE2 && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0x80 &&
               (static_cast<unsigned char>(utf8[i + 2]) == 0xA8 ||
                static_cast<unsigned char>(utf8[i + 2]) == 0xA9)) {
      out += ' ';  // line and paragraph separators
      i += 2;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool IsSymbolFace(std::string_view face) {
  const std::string f = ToLower(Trim(face));
  return f == "wingdings" || f == "wingdings 2" || f == "wingdings 3" || f == "webdings" ||
         f == "symbol" || f == "marlett";
}

}  // namespace aolsim
