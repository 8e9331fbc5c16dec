// The control channel's commands, the flood and the demo chatter. The command set is
// described in sim/README.md.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "sim/sim.h"
#include "sim/sim_log.h"

namespace aolsim {
namespace {

constexpr UINT_PTR kFloodTimer = 1;
constexpr UINT_PTR kDemoTimer = 2;
constexpr UINT kFloodTickMs = 25;
constexpr double kMaxFloodLines = 1e9;
// Lines one tick posts at most; more that are due (after a hang, say) follow in the next
// ticks.
constexpr std::int64_t kMaxBatch = 5000;

struct Flood {
  bool active = false;
  double rate = 0;  // lines per second
  std::int64_t total = 0;
  std::wstring speaker;
  double start_ms = 0;
  double last_ms = 0;
  std::int64_t posted = 0;
  std::int64_t lost = 0;  // due while no room was open
  double max_lag_ms = 0;
};

Flood g_flood;
std::int64_t g_flood_number = 0;  // numbers every flood line ever posted, so each is distinct
unsigned g_random = 0;

unsigned Random() {
  if (g_random == 0) g_random = GetTickCount() | 1;
  g_random = g_random * 1103515245u + 12345u;
  return g_random >> 8;
}

bool Fail(const std::string& command, const std::string& error) {
  Log("control_error", {{"command", command}, {"error", error}});
  return false;
}

// A number in [min, max] that is the whole text.
bool ParseNumber(const std::string& text, double min, double max, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value) || value < min || value > max) return false;
  out = value;
  return true;
}

// The first word and the rest after one blank.
std::pair<std::string, std::string> SplitWord(const std::string& text) {
  const auto space = text.find(' ');
  if (space == std::string::npos) return {text, {}};
  return {text.substr(0, space), text.substr(space + 1)};
}

void EndFlood(const char* state) {
  KillTimer(g_frame, kFloodTimer);
  const double span_s = (g_flood.last_ms - g_flood.start_ms) / 1000;
  Log("flood", {{"state", state},
                {"lines", LogValue::Number(g_flood.posted)},
                {"lost", LogValue::Number(g_flood.lost)},
                {"seconds", LogValue::Number(span_s)},
                {"achieved_lps", LogValue::Number(span_s > 0 ? g_flood.posted / span_s : 0)},
                {"max_lag_ms", LogValue::Number(g_flood.max_lag_ms)}});
  g_flood.active = false;
}

// Posts every flood line that is due by now, in one batch.
void FloodTick() {
  if (!g_flood.active) return;
  const double now = NowMs();
  const double due_now = std::floor((now - g_flood.start_ms) * g_flood.rate / 1000);
  const std::int64_t due = std::min({g_flood.total, static_cast<std::int64_t>(std::min(due_now, kMaxFloodLines)),
                                     g_flood.posted + kMaxBatch});
  if (due > g_flood.posted) {
    const double first_due_ms = g_flood.start_ms + (g_flood.posted + 1) * 1000.0 / g_flood.rate;
    g_flood.max_lag_ms = std::max(g_flood.max_lag_ms, now - first_due_ms);
    std::vector<ChatPost> lines;
    lines.reserve(static_cast<std::size_t>(due - g_flood.posted));
    for (std::int64_t i = g_flood.posted; i < due; ++i) {
      lines.push_back(ChatPost{g_flood.speaker, L"flood " + std::to_wstring(++g_flood_number)});
    }
    if (Room* room = FirstRoom()) {
      PostLines(room, lines);
    } else {
      g_flood.lost += static_cast<std::int64_t>(lines.size());
    }
    g_flood.posted = due;
    g_flood.last_ms = NowMs();
  }
  if (g_flood.posted >= g_flood.total) EndFlood("end");
}

bool StartFlood(const std::string& command, const std::string& args) {
  if (args == "stop") {
    if (g_flood.active) EndFlood("stopped");
    return true;
  }
  const auto [rate_text, rest] = SplitWord(args);
  const auto [seconds_text, speaker] = SplitWord(rest);
  double rate = 0, seconds = 0;
  if (!ParseNumber(rate_text, 0.001, 100000, rate) || !ParseNumber(seconds_text, 0.001, 86400, seconds) ||
      rate * seconds > kMaxFloodLines) {
    return Fail(command, "usage: flood <lines_per_second> <seconds> [speaker] | flood stop");
  }
  if (g_flood.active) EndFlood("replaced");
  g_flood = Flood{};
  g_flood.active = true;
  g_flood.rate = rate;
  g_flood.total = std::max<std::int64_t>(1, std::llround(rate * seconds));
  g_flood.speaker = speaker.empty() ? kMembers[0] : Wide(speaker);
  g_flood.start_ms = g_flood.last_ms = NowMs();
  Log("flood", {{"state", "begin"},
                {"lps", LogValue::Number(rate)},
                {"lines", LogValue::Number(g_flood.total)},
                {"speaker", Utf8(g_flood.speaker)}});
  SetTimer(g_frame, kFloodTimer, kFloodTickMs, nullptr);
  return true;
}

void DemoTick() {
  static const wchar_t* const kLines[] = {
      L"hi all",
      L"<font color=\"#0000FF\">anyone here from ohio?",
      L"<b>brb</b>, pizza's here",
      L"<font face=\"Comic Sans MS\" color=\"#FF0000\">hiya room!!!",
      L"lol",
      L"<font color=\"#008000\">my page: <a href=\"http://members.aol.com/kimlee/\">Kim's Corner</a>",
      L"wb {name} :-)",
      L"<i>stretches</i>",
      L"<font color=\"#800080\" size=3>ASL?",
      L"anyone know a good chili recipe?",
      L"<font back=\"#FFFF00\">highlighted</font> neat huh",
      L"{name} you idling again?",
  };
  SetTimer(g_frame, kDemoTimer, 2500 + Random() % 3500, nullptr);
  Room* room = FirstRoom();
  if (!room) return;
  std::wstring text = kLines[Random() % std::size(kLines)];
  if (const auto at = text.find(L"{name}"); at != std::wstring::npos) {
    text.replace(at, 6, g_settings.screen_name);
  }
  PostLines(room, {ChatPost{kMembers[Random() % std::size(kMembers)], text}});
}

}  // namespace

void StartDemo(bool on) {
  g_settings.demo = on;
  if (on) {
    SetTimer(g_frame, kDemoTimer, 1500, nullptr);
  } else {
    KillTimer(g_frame, kDemoTimer);
  }
}

bool HandleControlTimer(UINT_PTR id) {
  if (id == kFloodTimer) {
    FloodTick();
    return true;
  }
  if (id == kDemoTimer) {
    DemoTick();
    return true;
  }
  return false;
}

bool RunControlCommand(const std::string& command) {
  Log("control", {{"command", command}});
  const auto [verb, args] = SplitWord(command);
  double number = 0;

  if (verb == "say") {
    const auto tab = args.find('\t');
    if (tab == std::string::npos) return Fail(command, "usage: say <speaker><TAB><text>");
    Room* room = FirstRoom();
    if (!room) return Fail(command, "no chat room is open");
    PostLines(room, {ChatPost{Wide(args.substr(0, tab)), Wide(args.substr(tab + 1))}});
    return true;
  }
  if (verb == "hang") {
    if (!ParseNumber(args, 0, 3600, number)) return Fail(command, "usage: hang <seconds>");
    // Posted: the sender of the command is not held up by the hang it asked for.
    PostMessageW(g_frame, kHangMessage, static_cast<WPARAM>(std::lround(number * 1000)), 0);
    return true;
  }
  if (verb == "exit") {
    PostMessageW(g_frame, kExitMessage, 0, 0);
    return true;
  }
  if (verb == "clear") {
    Room* room = FirstRoom();
    if (!room) return Fail(command, "no chat room is open");
    ClearTranscript(room);
    return true;
  }
  if (verb == "change-line") {
    const auto [from_end, text] = SplitWord(args);
    Room* room = FirstRoom();
    if (!room) return Fail(command, "no chat room is open");
    if (!ParseNumber(from_end, 1, 1e9, number) || number != std::floor(number) ||
        !ChangeLine(room, static_cast<std::size_t>(number), text)) {
      return Fail(command, "usage: change-line <line from the end, 1 the last> <text>");
    }
    return true;
  }
  if (verb == "drop-child") {
    const auto [cls, seconds] = SplitWord(args);
    Room* room = FirstRoom();
    if (!room) return Fail(command, "no chat room is open");
    if (!ParseNumber(seconds, 0, 3600, number) ||
        !DropChildren(room, Wide(cls), static_cast<UINT>(std::lround(number * 1000)))) {
      return Fail(command, "usage: drop-child _AOL_Listbox|_AOL_Icon|_AOL_Static <seconds>");
    }
    return true;
  }
  if (verb == "type-draft" || verb == "entry") {
    Room* room = FirstRoom();
    if (!room) return Fail(command, "no chat room is open");
    if (verb == "entry") {
      LogEntry(room);
    } else {
      TypeIntoEntry(room, Wide(args));
    }
    return true;
  }
  if (verb == "flood") return StartFlood(command, args);
  if (verb == "close-room") {
    Room* room = args.empty() ? FirstRoom() : FindRoom(Wide(args));
    if (!room) return Fail(command, "no such chat room");
    CloseRoom(room);
    return true;
  }
  if (verb == "open-room") {
    auto [where, name] = SplitWord(args);
    bool front = true;
    if (where == "front" || where == "back") {
      front = where == "front";
    } else {
      name = args;
    }
    static int opened = 1;
    const std::wstring room_name = name.empty() ? L"Room " + std::to_wstring(++opened) : Wide(name);
    if (!OpenRoom(room_name, front)) return Fail(command, "the room could not be opened");
    return true;
  }
  if (verb == "hide-welcome") {
    HideWelcome();
    return true;
  }
  if (verb == "show-welcome") {
    if (!args.empty() && args != "front" && args != "back") return Fail(command, "usage: show-welcome [front|back]");
    ShowWelcome(args != "back");
    return true;
  }
  if (verb == "screen-name") {
    SetScreenName(Wide(args));
    return true;
  }
  if (verb == "im-delay") {
    if (!ParseNumber(args, 0, 3600, number)) return Fail(command, "usage: im-delay <seconds>");
    g_settings.im_delay_s = number;
    Log("setting", {{"name", "im_delay"}, {"value", LogValue::Number(number)}});
    return true;
  }
  if (verb == "im-never") {
    if (args != "on" && args != "off") return Fail(command, "usage: im-never on|off");
    g_settings.im_never = args == "on";
    Log("fault", {{"mode", "im_never"}, {"state", g_settings.im_never ? "begin" : "end"}});
    return true;
  }
  if (verb == "im-icons") {
    if (!ParseNumber(args, 0, 64, number) || number != std::floor(number)) {
      return Fail(command, "usage: im-icons <0..64>");
    }
    g_settings.im_icons = static_cast<int>(number);
    Log("setting", {{"name", "im_icons"}, {"value", LogValue::Number(number)}});
    return true;
  }
  if (verb == "msgbox") {
    ShowAolMessageBox(args.empty() ? L"America Online has a message for you." : Wide(args), "control");
    return true;
  }
  if (verb == "demo") {
    if (args != "on" && args != "off") return Fail(command, "usage: demo on|off");
    StartDemo(args == "on");
    Log("setting", {{"name", "demo"}, {"value", args}});
    return true;
  }
  return Fail(command, "unknown command");
}

}  // namespace aolsim
