// The idle run on the virtual clock: what is posted and when, for clicks at given times,
// and what Start and Stop leave.
#include <gtest/gtest.h>

#include <functional>

#include "core/announcement.h"
#include "core/idle_run.h"
#include "core/pause.h"
#include "core/settings.h"
#include "core/texts.h"
#include "fakes/harness.h"

namespace zantic {
namespace {

using C = Control;
using fakes::Harness;
using fakes::Journal;
using fakes::PostedLine;

// A harness with a handle stored and "reg. idle" (or "link idle") picked, boxes filled.
struct Picked : Harness {
  explicit Picked(IdleMode mode, std::string reason = "lunch") {
    StoreHandle("Pat");
    if (mode == IdleMode::Regular) {
      form1.Click(C::Label4);
      form.SetText(C::Text1, reason);
    } else if (mode == IdleMode::Link) {
      form1.Click(C::Label5);
      form.SetText(C::Text2, "my page");
      form.SetText(C::Text3, "http://pat.example/");
    }
  }
};

using Action = std::function<void(Picked&)>;
Action Click(C label) { return [label](Picked& h) { h.form1.Click(label); }; }
Action Empty(C box) { return [box](Picked& h) { h.form.SetText(box, ""); }; }
Action StoreHandle(std::string handle) { return [handle](Picked& h) { h.StoreHandle(handle); }; }
// A box held open for `seconds`: its own loop handles the window's events until it closes.
Action Box(double seconds) { return [seconds](Picked& h) { Pause(h.clock, seconds); }; }

struct RunCase {
  const char* name;
  IdleMode mode;
  std::vector<std::pair<double, Action>> at;  // things done during the run (Stop among them)
  std::vector<PostedLine> lines;
  std::string reason = "lunch";
};

class Run : public testing::TestWithParam<RunCase> {};

TEST_P(Run, PostsItsLinesOnTimeUntilStop) {
  const RunCase& c = GetParam();
  Picked h(c.mode, c.reason);
  for (auto& [t, action] : c.at) h.clock.At(t, [&h, action = action] { action(h); });
  h.form1.Click(C::Label7);
  ASSERT_EQ(h.lines.size(), c.lines.size());
  for (std::size_t i = 0; i < c.lines.size(); ++i) {
    EXPECT_EQ(h.lines[i].text, c.lines[i].text) << "line " << i;
    EXPECT_NEAR(h.lines[i].at, c.lines[i].at, 1e-6) << "line " << i;
  }
  EXPECT_TRUE(h.boxes.shown.empty());
  EXPECT_FALSE(h.form1.State().Running || h.form1.State().RunUnderWay);
}

const std::string kReason = ReasonLine("lunch");
const std::string kFirst = FirstLinkLine("http://pat.example/", "my page");
const std::string kLink = LinkLine("http://pat.example/", "my page");
const PostedLine kBegan{0, BeganLine()}, kReasonAt{0.7, kReason}, kFirstAt{1.3, kFirst};

INSTANTIATE_TEST_SUITE_P(
    Runs, Run,
    testing::Values(
        // Stop is noticed at the next whole second of the minute's grid (from 0.7 s, after
        // the reason line; from 61.4 s in the second minute).
        RunCase{"StopWithinTheFirstMinute", IdleMode::Regular, {{10.2, Click(C::Label8)}},
                {kBegan, kReasonAt, {10.7, OffIdleLine("Pat", "0")}}},
        RunCase{"StopJustAfterASecond", IdleMode::Regular, {{10.701, Click(C::Label8)}},
                {kBegan, kReasonAt, {11.7, OffIdleLine("Pat", "0")}}},
        RunCase{"StopOnTheSecondMinutesGrid", IdleMode::Regular, {{100.05, Click(C::Label8)}},
                {kBegan, kReasonAt, {60.7, MinuteLine("1")}, {61.4, kReason}, {100.4, OffIdleLine("Pat", "1")}}},
        // A box held open across seconds does not push the minute back; one held past the
        // minute's end holds the minute line until it closes, and the next minute counts
        // from the step after it. Stop while a box is open is noticed when it closes.
        RunCase{"ABoxHeldOpenAcrossSeconds", IdleMode::Regular, {{10.2, Box(3.3)}, {70, Click(C::Label8)}},
                {kBegan, kReasonAt, {60.7, MinuteLine("1")}, {61.4, kReason}, {70.4, OffIdleLine("Pat", "1")}}},
        RunCase{"ABoxHeldOpenPastTheMinute", IdleMode::Regular, {{59, Box(3)}, {130, Click(C::Label8)}},
                {kBegan, kReasonAt, {62, MinuteLine("1")}, {62.7, kReason}, {122.7, MinuteLine("2")},
                 {123.4, kReason}, {130.4, OffIdleLine("Pat", "2")}}},
        RunCase{"StopWhileABoxIsOpen", IdleMode::Regular, {{10.2, Box(3.3)}, {12, Click(C::Label8)}},
                {kBegan, kReasonAt, {13.5, OffIdleLine("Pat", "0")}}},
        RunCase{"ThreeMinutesAndTwentySeconds", IdleMode::Regular, {{202.8, Click(C::Label8)}},
                {kBegan, kReasonAt, {60.7, MinuteLine("1")}, {61.4, kReason}, {121.4, MinuteLine("2")},
                 {122.1, kReason}, {182.1, MinuteLine("3")}, {182.8, kReason}, {203.8, OffIdleLine("Pat", "3")}}},
        // The minute step is not interrupted: the reason line still comes.
        RunCase{"StopDuringThePauseAfterAMinuteLine", IdleMode::Regular, {{61.0, Click(C::Label8)}},
                {kBegan, kReasonAt, {60.7, MinuteLine("1")}, {61.4, kReason}, {62.4, OffIdleLine("Pat", "1")}}},
        RunCase{"StopJustBeforeTheSixtiethSecond", IdleMode::Regular, {{60.6, Click(C::Label8)}},
                {kBegan, kReasonAt, {60.7, OffIdleLine("Pat", "0")}}},
        RunCase{"LinkLinesAfterEachMinute", IdleMode::Link, {{70, Click(C::Label8)}},
                {kBegan, kFirstAt, {61.3, MinuteLine("1")}, {62.6, kLink}, {70.6, OffIdleLine("Pat", "1")}}},
        RunCase{"AReasonOfOneBlankIsAReason", IdleMode::Regular, {{3, Click(C::Label8)}},
                {kBegan, {0.7, ReasonLine(" ")}, {3.7, OffIdleLine("Pat", "0")}}, " "},
        // The ending reads the handle again: a handle changed during the run counts.
        RunCase{"TheEndingReadsTheHandleAgain", IdleMode::Regular, {{30, StoreHandle("Kim")}, {40, Click(C::Label8)}},
                {kBegan, kReasonAt, {40.7, OffIdleLine("Kim", "0")}}},
        // "reg. idle" during a link run: it goes on with its links, and Stop checks the
        // reason box only (which "reg. idle" filled), not the emptied URL box.
        RunCase{"ModeChangedDuringALinkRun", IdleMode::Link,
                {{30, Click(C::Label4)}, {31, Empty(C::Text3)}, {100, Click(C::Label8)}},
                {kBegan, kFirstAt, {61.3, MinuteLine("1")}, {62.6, kLink}, {100.6, OffIdleLine("Pat", "1")}}},
        // Start stays clickable in two gaps of a run: in the link mode's pause before its
        // first link line, and from an accepted Stop to the off-idle line. A Start there
        // does nothing at all, not even a refusal.
        RunCase{"StartInTheLinkModesFirstPause", IdleMode::Link, {{0.5, Click(C::Label7)}, {10, Click(C::Label8)}},
                {kBegan, kFirstAt, {10.3, OffIdleLine("Pat", "0")}}},
        RunCase{"StartAfterStop", IdleMode::Regular, {{10.2, Click(C::Label8)}, {10.5, Click(C::Label7)}},
                {kBegan, kReasonAt, {10.7, OffIdleLine("Pat", "0")}}},
        RunCase{"StartAfterStopWithAnEmptyBox", IdleMode::Regular,
                {{10.2, Click(C::Label8)}, {10.3, Empty(C::Text1)}, {10.5, Click(C::Label7)}},
                {kBegan, kReasonAt, {10.7, OffIdleLine("Pat", "0")}}}),
    [](const auto& info) { return std::string(info.param.name); });

// What the user sees of the inputs (the three boxes and "Start") during a run and after it:
// greyed at given times (the link run only from its first link line on), and afterwards.
struct LockCase {
  const char* name;
  IdleMode mode;
  double stop;
  std::vector<std::pair<double, bool>> locked_at;
  bool locked_after;
};

TEST(Run, LocksTheInputsWhileItUsesThem) {
  const LockCase cases[] = {
      {"Regular", IdleMode::Regular, 5, {{0.1, true}}, false},
      {"Link", IdleMode::Link, 70, {{1.0, false}, {1.4, true}}, false},
      // Stop in the pause before a link line: the line still comes, and locks them again.
      {"LinkStoppedBeforeALinkLine", IdleMode::Link, 62, {}, true}};
  for (const LockCase& c : cases) {
    Picked h(c.mode);
    auto locked = [&h] {
      const int greyed = !h.form.IsEnabled(C::Text1) + !h.form.IsEnabled(C::Text2) + !h.form.IsEnabled(C::Text3) +
                         !h.form.IsEnabled(C::Label7);
      EXPECT_TRUE(greyed == 0 || greyed == 4) << greyed << " of the four inputs greyed";
      return greyed == 4;
    };
    for (auto [t, want] : c.locked_at) h.clock.At(t, [&, t = t, want = want] { EXPECT_EQ(locked(), want) << c.name << " at " << t; });
    h.ClickAt(c.stop, C::Label8);
    h.form1.Click(C::Label7);
    EXPECT_EQ(locked(), c.locked_after) << c.name;
  }
}

// A quiet run whose observer wants to be told every `every` seconds: how often its wait
// wakes in its second minute (61.4 s to 122.1 s: the minute and the step's 0.7 s pause
// after it), and when the observer is told.
struct WakeCase {
  const char* name;
  int every;
  int waits;
  std::vector<double> told;  // the second minute's calls, from its start
};

TEST(Run, SleepsThroughItsQuietSecondsOnTheMinutesGrid) {
  const WakeCase cases[] = {
      {"OnlyTheMinute", 60, 2, {60}},
      {"TheNudgesChecks", 5, 13, {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60}},
      {"EveryTwentySeconds", 20, 4, {20, 40, 60}},
      {"NotADivisorOfTheMinute", 25, 4, {25, 50, 60}},
  };
  for (const WakeCase& c : cases) {
    Picked h(IdleMode::Regular);
    struct Counter final : RunObserver {
      Picked& h;
      int every;
      std::vector<int> waits_at_minute;
      std::vector<double> told;
      Counter(Picked& h, int every) : h(h), every(every) {}
      void RunBegan() override {}
      int SecondsPerCall() const override { return every; }
      void SecondsPassed() override {
        if (waits_at_minute.size() == 1) told.push_back(h.clock.Now() - 61.4);
      }
      void MinutesChanged() override { waits_at_minute.push_back(h.clock.waits); }
      void RunEnded() override {}
    } counter(h, c.every);
    h.ClickAt(130, C::Label8);
    FormRunInputs inputs(h.form);
    StartIdleRun({h.aol, h.clock, h.ports.settings(), h.boxes, inputs}, h.form1.State(), &counter);
    ASSERT_EQ(counter.waits_at_minute.size(), 2u) << c.name;
    EXPECT_EQ(counter.waits_at_minute[1] - counter.waits_at_minute[0], c.waits) << c.name;
    ASSERT_EQ(counter.told.size(), c.told.size()) << c.name;
    for (std::size_t i = 0; i < c.told.size(); ++i) EXPECT_NEAR(counter.told[i], c.told[i], 1e-9) << c.name << " " << i;
  }
}

// The two lines of a minute step are one step of the run's series, which the send queue
// may supersede; no other line is of a series. Each run has a series of its own.
TEST(Run, EachMinuteStepIsOneStepOfItsRunsSeries) {
  Picked h(IdleMode::Regular);
  for (double stop : {125.0, 200.0}) {
    h.ClickAt(stop, C::Label8);
    h.form1.Click(C::Label7);
  }
  using S = AolClient::Step;
  EXPECT_EQ(h.aol.steps, (std::vector<S>{{}, {}, {1, 1}, {1, 1}, {1, 2}, {1, 2}, {}, {}, {}, {2, 1}, {2, 1}, {}}));
  EXPECT_EQ(h.LineTexts().back(), OffIdleLine("Pat", "1")) << "each run counts from 0";
}

struct RefusalCase {
  const char* name;
  IdleMode mode;
  std::optional<C> emptied;  // the box emptied before Start
  std::string box;
};

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, ShowsItsTextAndLeavesTheStateAlone) {
  const RefusalCase& c = GetParam();
  Picked h(c.mode);
  if (c.emptied) h.form.SetText(*c.emptied, "");
  h.form1.State().Minutes = "7";
  EXPECT_EQ(h.Record([&] { h.form1.Click(C::Label7); }), Journal{"box " + c.box});
  EXPECT_FALSE(h.form1.State().Running);
  EXPECT_EQ(h.form1.State().Minutes, "7");
  // Stop refuses the same way, and changes nothing.
  h.form1.State().Running = true;
  EXPECT_EQ(h.Record([&] { h.form1.Click(C::Label8); }), Journal{"box " + c.box});
  EXPECT_TRUE(h.form1.State().Running);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusal,
    testing::Values(RefusalCase{"NoIdlerPicked", IdleMode::None, std::nullopt, std::string(kPickAnIdler)},
                    RefusalCase{"EmptyReason", IdleMode::Regular, C::Text1, std::string(kFillInAllBoxes)},
                    RefusalCase{"EmptyUrl", IdleMode::Link, C::Text3, std::string(kFillInAllBoxes)},
                    RefusalCase{"EmptyDescription", IdleMode::Link, C::Text2, std::string(kFillInAllBoxes)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReservedHandle, StartAndStopEachRebukeThenTheNextPressGoesAhead) {
  Picked h(IdleMode::Regular);
  h.StoreHandle("vorn");
  h.form1.Click(C::Label7);
  EXPECT_TRUE(h.lines.empty());
  EXPECT_FALSE(h.form1.State().Running);
  h.StoreHandle("tamsel");
  h.form1.State().Running = true;
  h.form1.Click(C::Label8);
  EXPECT_TRUE(h.form1.State().Running) << "a rebuked Stop leaves the run going";
  EXPECT_EQ(h.boxes.shown.size(), 2u);
  h.ClickAt(2, C::Label8);
  h.form1.Click(C::Label7);
  EXPECT_EQ(h.LineTexts().back(), OffIdleLine(ReplacementHandle, "0"));
}

}  // namespace
}  // namespace zantic
