// Idling by itself on the virtual clock: the user's input and clicks at given times against
// the runs the program starts and stops; the choice in the tray's menu and in the file.
#include <gtest/gtest.h>

#include <cmath>

#include "core/announcement.h"
#include "core/auto_idle.h"
#include "core/pause.h"
#include "core/settings.h"
#include "fakes/harness.h"

namespace zantic {
namespace {

using C = Control;
using fakes::Harness;

// Steady input: every 2 s.
std::vector<double> Steady(double from, double to) {
  std::vector<double> times;
  for (double t = from; t <= to; t += 2) times.push_back(t);
  return times;
}

// Loaded at 0 with "[options] autoidle=" the value (the handle stored after the load),
// "reg. idle" picked at once with the reason unless there is none, until kEnd, when a run
// still under way is stopped. Checks come every 5 s from the load, and within a run every
// fifth of its seconds from its reason line on.
constexpr double kEnd = 400;
struct AutoCase {
  const char* name;
  std::string autoidle;
  std::vector<double> inputs, starts, stops;  // the began and off-idle lines before kEnd
  std::string tip;                            // at kEnd
  std::vector<std::pair<double, C>> clicks = {};
  std::optional<std::string> reason = "lunch";
  std::string handle = "Pat";
  std::size_t balloons = 0;
  double tray_stop = 0;  // "Stop idling" from the tray's menu then
  friend void PrintTo(const AutoCase& c, std::ostream* os) { *os << c.name; }
};
const std::string kWaits = "zantic idle - waiting to idle by itself: ";
std::string ByItself(int minutes) { return "zantic idle - idling by itself, " + std::to_string(minutes) + " minute(s)"; }

const AutoCase kAutoCases[] = {
    {"AwayForTheDelayStarts", "1", {}, {60}, {}, ByItself(5)},
    {"AStrayTouchNeitherPutsTheStartOffNorStopsTheRun", "1", {30, 31, 100, 101, 102}, {60}, {}, ByItself(5)},
    {"InputNowAndThenDoesNotStopIt", "1", {100, 112, 124, 136, 148, 160, 172, 184}, {60}, {}, ByItself(5)},
    // The fifth check with input is at 110.7: Stop, and the off-idle line a second later.
    // Judged present until the input ends at 200 (the last check with five of six is at
    // 206.7): the next start is a whole delay after that.
    {"BackStopsItAndOnlyTheWholeDelayStartsItAgain", "1", Steady(90, 200), {60, 266.7}, {111.7}, ByItself(2)},
    {"SteadyTypingBeforeTheDelayPutsItOff", "1", Steady(20, 60), {125}, {}, ByItself(4)},
    {"AClickOnTheWindowPutsItOff", "1", {}, {100}, {}, ByItself(4), {{40, C::Label6}}},
    // Stopped by the user without a click on the window: the whole delay from the stop.
    {.name = "StoppedFromTheTrayStartsAgainOnlyAfterTheDelay", .autoidle = "1", .inputs = {}, .starts = {60, 160.7}, .stops = {100.7},
     .tip = ByItself(3), .tray_stop = 100},
    // A run the user started is theirs: it keeps the nudge (once a run, by the same rule, for
    // input since the run began) and is never stopped.
    {"TheUsersOwnRunGoesOn", "1", Steady(100, 200), {10}, {}, "zantic idle - idling, 6 minute(s)", {{10, C::Label7}},
     "lunch", "Pat", 1},
    {"InputBeforeTheUsersStartDoesNotCount", "1", {9.9, 17, 22, 27, 32}, {10}, {}, "zantic idle - idling, 6 minute(s)",
     {{10, C::Label7}}},
    // Where Start would refuse, nothing at all: the tooltip says why.
    {"NoIdlerPicked", "1", {}, {}, {}, kWaits + "pick an idler first", {}, std::nullopt},
    {"AnEmptyBox", "1", {}, {}, {}, kWaits + "fill in all boxes first", {}, ""},
    {"TheHandlePanelOpen", "1", {}, {}, {}, kWaits + "finish setting your handle first", {{1, C::Label13}}},
    {"AReservedHandle", "1", {}, {}, {}, kWaits + "set a handle of your own first", {}, "lunch", "vorn"},
    {"Off", "0", {}, {}, {}, "zantic idle"},
    {"Unreadable", "soon", {}, {}, {}, "zantic idle"},
};

class AutoIdleRuns : public testing::TestWithParam<AutoCase> {};

TEST_P(AutoIdleRuns, StartAndStopByTheRules) {
  const AutoCase& c = GetParam();
  Harness h;
  h.WriteSettings("[options]\r\nautoidle=" + c.autoidle + "\r\n");
  h.form1.Form_Load();
  const std::string file = "[handle]\r\nHANDLE=" + c.handle + "\r\n[options]\r\nautoidle=" + c.autoidle + "\r\n";
  h.WriteSettings(file);  // after the load, whose guard would not let "vorn" stand
  if (c.reason) {
    h.form1.Click(C::Label4);
    h.form.SetText(C::Text1, *c.reason);
  }
  for (double t : c.inputs) h.clock.At(t, [&h, t] { h.input.last_input_ms = static_cast<std::uint32_t>(t * 1000); });
  for (auto [t, label] : c.clicks) h.ClickAt(t, label);
  if (c.tray_stop > 0) h.clock.At(c.tray_stop, [&h] { h.form1.Tray_Command(TrayCommand::StopIdling); });
  std::string tip;
  h.clock.At(kEnd, [&] {
    tip = h.tray.tip;
    if (h.form1.State().RunUnderWay) h.form1.Click(C::Label8);
  });
  Pause(h.clock, kEnd + 1);
  std::vector<double> starts, stops;
  for (const auto& line : h.lines) {
    const double at = std::round(line.at * 10) / 10;
    if (at >= kEnd) break;
    if (line.text == BeganLine()) starts.push_back(at);
    if (line.text.find(" is off idle after ") != std::string::npos) stops.push_back(at);
  }
  EXPECT_EQ(starts, c.starts);
  EXPECT_EQ(stops, c.stops);
  EXPECT_EQ(tip, c.tip);
  EXPECT_EQ(h.tray.balloons.size(), c.balloons);
  EXPECT_TRUE(h.boxes.shown.empty());
  EXPECT_EQ(h.SettingsText(), file);
  if (ParseAutoIdleMinutes(c.autoidle) == 0) {
    EXPECT_EQ(h.timer.starts, 0) << "no wake-up when off";
  }
}

INSTANTIATE_TEST_SUITE_P(Table, AutoIdleRuns, testing::ValuesIn(kAutoCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AutoIdle, TheFilesValue) {
  const std::pair<const char*, double> cases[] = {
      {"10", 10}, {" 0.1 ", 0.1}, {"0", 0},   {"", 0},       {"-5", 0},     {"nan", 0},  {"inf", 0},    {"10abc", 0},
      {"0x10", 0}, {"1e999", 0},  {"5,5", 0}, {"+5", 0}, {"1e9", 1440}, {"1e-9", 0.001}};
  for (auto [text, minutes] : cases) EXPECT_EQ(ParseAutoIdleMinutes(text), minutes) << text;
}

// The choice from the tray's menu: stored first and only then taken; every other byte of
// the file kept (a byte-order mark, line feeds, a comment, names in other cases). The
// menu's item of it afterwards: "[x]" when checked, and the delay checked in its submenu.
TEST(AutoIdle, TheChoiceFromTheMenuIsStoredFirst) {
  const std::string bom = "\xEF\xBB\xBF[handle]\nHANDLE=Pat\n; mine\n", crlf = "[OPTIONS]\r\nAutoIdle = 15 \r\n[x]\r\n";
  const std::string refused = HandleNotSavedMessage(WriteResult::FileReadOnly, "Your choice to idle by itself");
  using T = TrayCommand;
  const std::tuple<std::string, T, std::string, std::string, std::string> cases[] = {
      {"", T::IdleByItself, "[options]\r\nautoidle=10\r\n", "[x] Idle by itself after 10 minutes away (10 minutes)", ""},
      {bom, T::IdleAfter5, bom + "[options]\nautoidle=5\n", "[x] Idle by itself after 5 minutes away (5 minutes)", ""},
      {crlf, T::IdleAfter30, "[OPTIONS]\r\nAutoIdle =30\r\n[x]\r\n", "[x] Idle by itself after 30 minutes away (30 minutes)", ""},
      {"[options]\nautoidle=0.5\n", T::IdleByItself, "[options]\nautoidle=0\n", "Idle by itself after 0.5 minutes away", ""},
      {"[options]\nautoidle=1\n", T::IdleDelay, "[options]\nautoidle=1\n", "[x] Idle by itself after 1 minute away", ""},
      {"readonly", T::IdleByItself, "readonly", "Idle by itself after 10 minutes away", refused},
  };
  for (const auto& [before, command, after, item, box] : cases) {
    Harness h;
    if (!before.empty()) h.WriteSettings(before);
    h.files.writes = before == "readonly" ? WriteResult::FileReadOnly : WriteResult::Written;
    h.form1.Form_Load();
    h.form1.Tray_Command(command);
    const std::vector<TrayMenuItem> menu = h.form1.TrayMenu();
    std::string shown = (menu.at(3).checked ? "[x] " : "") + menu[3].text;
    for (const auto& delay : menu.at(4).submenu) shown += delay.checked ? " (" + delay.text + ")" : "";
    EXPECT_EQ(h.SettingsText().value_or(""), after);
    EXPECT_EQ(shown, item);
    EXPECT_EQ(h.timer.interval > 0, menu[3].checked) << item << ": checks only while on";
    EXPECT_EQ(h.boxes.shown.empty() ? "" : h.boxes.shown[0].text, box);
  }
}

}  // namespace
}  // namespace zantic
