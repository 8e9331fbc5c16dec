// Idling by itself on the virtual clock: the user's input and clicks at given times against
// the runs the program starts and stops; the choice in the tray's menu and in the file.
#include <gtest/gtest.h>

#include "core/announcement.h"
#include "core/auto_idle.h"
#include "core/pause.h"
#include "core/settings.h"
#include "fakes/harness.h"

namespace zantic {
namespace {

using C = Control;
using fakes::Harness;

std::vector<double> Every(double from, double to, double step) {
  std::vector<double> times;
  for (double t = from; t <= to; t += step) times.push_back(t);
  return times;
}

// Loaded at 0 with the handle and "[options] autoidle=" the value, "reg. idle" picked at
// once with the reason (unless not), until kEnd, when a run still under way is stopped.
constexpr double kEnd = 400;
struct AutoCase {
  const char* name;
  std::string autoidle;
  std::vector<double> inputs;
  std::vector<double> starts, stops;  // the began and off-idle lines before kEnd
  std::string tip_at_end;
  std::vector<std::pair<double, C>> clicks = {};
  bool pick = true;
  std::string reason = "lunch", handle = "Pat";
};
const std::string kWaits = "zantic idle - waiting to idle by itself: ";
std::string ByItself(int minutes) { return "zantic idle - idling by itself, " + std::to_string(minutes) + " minute(s)"; }

const AutoCase kAutoCases[] = {
    // Checks every 5 s from the load; a run's own from its reason line on (at 60.7: 65.7, ...).
    {"AwayForTheDelayStarts", "1", {}, {60}, {}, ByItself(5)},
    {"AFractionOfAMinute", "0.1", {}, {10}, {}, ByItself(6)},
    {"AStrayTouchNeitherPutsTheStartOffNorStopsTheRun", "1", {30, 31, 100, 101, 102}, {60}, {}, ByItself(5)},
    {"InputNowAndThenDoesNotStopIt", "1", Every(100, 380, 12), {60}, {}, ByItself(5)},
    // Steady input from 90: the fifth check with input is at 110.7, Stop, the off-idle line
    // a second later. Judged present until the input ends at 200 (the last check with five
    // of six is at 206.7): the next start is a whole delay after that.
    {"BackStopsItAndOnlyTheWholeDelayStartsItAgain", "1", Every(90, 200, 2), {60, 266.7}, {111.7}, ByItself(2)},
    {"SteadyTypingBeforeTheDelayPutsItOff", "1", Every(20, 60, 2), {125}, {}, ByItself(4)},
    {"AClickOnTheWindowPutsItOff", "1", {}, {100}, {}, ByItself(4), {{40, C::Label6}}},
    // A run the user started is theirs: it keeps the nudge and is never stopped.
    {"TheUsersOwnRunGoesOn", "1", Every(100, 200, 2), {10}, {}, "zantic idle - idling, 6 minute(s)", {{10, C::Label7}}},
    // Where Start would refuse, nothing at all: the tooltip says why.
    {"NoIdlerPicked", "1", {}, {}, {}, kWaits + "pick an idler first", {}, false},
    {"AnEmptyBox", "1", {}, {}, {}, kWaits + "fill in all boxes first", {}, true, ""},
    {"TheHandlePanelOpen", "1", {}, {}, {}, kWaits + "finish setting your handle first", {{1, C::Label13}}},
    {"AReservedHandle", "1", {}, {}, {}, kWaits + "set a handle of your own first", {}, true, "lunch", "vorn"},
    {"Off", "0", {}, {}, {}, "zantic idle"},
    {"Unreadable", "soon", {}, {}, {}, "zantic idle"},
};

class AutoIdleRuns : public testing::TestWithParam<AutoCase> {};

TEST_P(AutoIdleRuns, StartAndStopByTheRules) {
  const AutoCase& c = GetParam();
  Harness h;
  const std::string file = "[handle]\r\nHANDLE=" + c.handle + "\r\n[options]\r\nautoidle=" + c.autoidle + "\r\n";
  h.WriteSettings("[options]\r\nautoidle=" + c.autoidle + "\r\n");
  h.form1.Form_Load();
  h.WriteSettings(file);  // the handle after the load, whose guard would not let "vorn" stand
  if (c.pick) {
    h.form1.Click(C::Label4);
    h.form.SetText(C::Text1, c.reason);
  }
  for (double t : c.inputs) h.clock.At(t, [&h, t] { h.input.last_input_ms = static_cast<std::uint32_t>(t * 1000); });
  for (auto [t, label] : c.clicks) h.ClickAt(t, label);
  std::string tip;
  h.clock.At(kEnd, [&] {
    tip = h.tray.tip;
    if (h.form1.State().RunUnderWay) h.form1.Click(C::Label8);
  });
  Pause(h.clock, kEnd + 1);
  std::vector<double> starts, stops;
  for (const auto& line : h.lines) {
    if (line.at >= kEnd) break;
    if (line.text == BeganLine()) starts.push_back(line.at);
    if (line.text.find(" is off idle after ") != std::string::npos) stops.push_back(line.at);
  }
  auto near = [](std::vector<double> got, std::vector<double> want) {
    if (got.size() != want.size()) return false;
    for (std::size_t i = 0; i < got.size(); ++i) if (std::abs(got[i] - want[i]) > 1e-6) return false;
    return true;
  };
  EXPECT_TRUE(near(starts, c.starts)) << testing::PrintToString(starts);
  EXPECT_TRUE(near(stops, c.stops)) << testing::PrintToString(stops);
  EXPECT_EQ(tip, c.tip_at_end);
  EXPECT_TRUE(h.boxes.shown.empty());
  const bool user_run = !c.clicks.empty() && c.clicks[0].second == C::Label7;
  EXPECT_EQ(h.tray.balloons.size(), user_run ? 1u : 0u);
  if (ParseAutoIdleMinutes(c.autoidle) == 0) EXPECT_EQ(h.timer.starts, 0) << "no wake-up when off";
  EXPECT_EQ(h.SettingsText(), file);
}

INSTANTIATE_TEST_SUITE_P(Table, AutoIdleRuns, testing::ValuesIn(kAutoCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AutoIdle, TheFilesValue) {
  const std::pair<const char*, double> cases[] = {
      {"10", 10},  {" 0.1 ", 0.1}, {"30", 30}, {"0", 0},    {"", 0},     {"-5", 0},     {"nan", 0},
      {"inf", 0},  {"10abc", 0},   {"0x10", 0}, {"1e999", 0}, {"1e9", 1440}, {"5,5", 0}, {"+5", 0}, {"1e-9", 0.001}};
  for (auto [text, minutes] : cases) EXPECT_EQ(ParseAutoIdleMinutes(text), minutes) << text;
  for (auto [minutes, text] : {std::pair{0.1, "0.1"}, {15.0, "15"}, {2.25, "2.25"}, {0.001, "0.001"}, {1440.0, "1440"}}) {
    EXPECT_EQ(MinutesText(minutes), text);
  }
}

// The choice from the tray's menu: stored first, only then taken; every other byte of the
// file kept (a byte-order mark, line feeds, a comment, names in other cases).
struct MenuCase {
  const char* name;
  std::string before;
  TrayCommand command;
  std::string after;
  std::string item;                // the first item of idling by itself after the command
  bool checked;
  WriteResult writes = WriteResult::Written;
};

TEST(AutoIdle, TheChoiceFromTheMenuIsStoredFirst) {
  const std::string bom = "\xEF\xBB\xBF", handle = "[handle]\nHANDLE=Pat\n";
  const MenuCase cases[] = {
      {"NoFile", "", TrayCommand::IdleByItself, "[options]\r\nautoidle=10\r\n", "Idle by itself after 10 minutes away", true},
      {"AddedBesideTheHandle", bom + handle + "; mine\n", TrayCommand::IdleAfter5,
       bom + handle + "; mine\n[options]\nautoidle=5\n", "Idle by itself after 5 minutes away", true},
      {"ReplacedInPlace", "[OPTIONS]\r\nAutoIdle = 15 \r\n[x]\r\n", TrayCommand::IdleAfter30,
       "[OPTIONS]\r\nAutoIdle =30\r\n[x]\r\n", "Idle by itself after 30 minutes away", true},
      {"TurnedOff", "[options]\nautoidle=0.5\n", TrayCommand::IdleByItself, "[options]\nautoidle=0\n",
       "Idle by itself after 0.5 minutes away", false},
      {"OneMinute", "[options]\nautoidle=1\n", TrayCommand::IdleDelay, "[options]\nautoidle=1\n",
       "Idle by itself after 1 minute away", true},
      {"AFailedWriteIsNotTaken", "[options]\nautoidle=15\n", TrayCommand::IdleByItself, "[options]\nautoidle=15\n",
       "Idle by itself after 15 minutes away", true, WriteResult::FileReadOnly},
  };
  for (const MenuCase& c : cases) {
    Harness h;
    if (!c.before.empty()) h.WriteSettings(c.before);
    h.form1.Form_Load();
    h.files.writes = c.writes;
    h.form1.Tray_Command(c.command);
    EXPECT_EQ(h.SettingsText().value_or(""), c.after) << c.name;
    const std::vector<TrayMenuItem> menu = h.form1.TrayMenu();
    ASSERT_EQ(menu.size(), 6u);
    EXPECT_EQ(menu[3].text, c.item) << c.name;
    EXPECT_EQ(menu[3].checked, c.checked) << c.name;
    EXPECT_EQ(h.timer.interval > 0, c.checked) << c.name << ": checks only while on";
    const std::vector<std::string> box =
        c.writes == WriteResult::Written ? std::vector<std::string>{}
                                         : std::vector<std::string>{HandleNotSavedMessage(c.writes, "Your choice to idle by itself")};
    std::vector<std::string> shown;
    for (const auto& b : h.boxes.shown) shown.push_back(b.text);
    EXPECT_EQ(shown, box) << c.name;
    EXPECT_EQ(h.LineTexts(), std::vector<std::string>{LoadedByLine(c.name == std::string("AddedBesideTheHandle") ? "Pat" : "")});
  }
}

}  // namespace
}  // namespace zantic
