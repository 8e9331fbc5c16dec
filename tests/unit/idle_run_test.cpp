// The idle run on the virtual clock: what is posted, when, and what Start and Stop leave.
#include <gtest/gtest.h>

#include "core/announcement.h"
#include "core/idle_run.h"
#include "core/settings.h"
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
  void Start() {
    try {
      form1.Click(C::Label7);
    } catch (const fakes::ProgramEnded&) {
    }
  }
};

void ExpectLines(const std::vector<PostedLine>& got, const std::vector<PostedLine>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].text, want[i].text) << "line " << i;
    EXPECT_NEAR(got[i].at, want[i].at, 1e-6) << "line " << i;
  }
}

struct StopCase {
  const char* name;
  double stop_at;
  std::vector<PostedLine> lines;  // after began (0) and reason (0.7)
};

class RegularRun : public testing::TestWithParam<StopCase> {};

TEST_P(RegularRun, PostsItsLinesOnTimeUntilStop) {
  Picked h(IdleMode::Regular);
  h.ClickAt(GetParam().stop_at, C::Label8);
  h.Start();
  std::vector<PostedLine> want = {{0, BeganLine()}, {0.7, ReasonLine("lunch")}};
  want.insert(want.end(), GetParam().lines.begin(), GetParam().lines.end());
  ExpectLines(h.lines, want);
}

const std::string kReason = ReasonLine("lunch");

INSTANTIATE_TEST_SUITE_P(
    Stops, RegularRun,
    testing::Values(
        // Stop is noticed at the end of the one-second pause it fell into.
        StopCase{"WithinTheFirstMinute", 10.2, {{10.7, OffIdleLine("Pat", "0")}}},
        StopCase{"ThreeMinutesAndTwentySeconds", 202.8,
                 {{60.7, MinuteLine("1")}, {61.4, kReason}, {121.4, MinuteLine("2")},
                  {122.1, kReason}, {182.1, MinuteLine("3")}, {182.8, kReason},
                  {203.8, OffIdleLine("Pat", "3")}}},
        // The minute step is not interrupted: the reason line still comes.
        StopCase{"DuringThePauseAfterAMinuteLine", 61.0,
                 {{60.7, MinuteLine("1")}, {61.4, kReason}, {62.4, OffIdleLine("Pat", "1")}}},
        StopCase{"JustBeforeTheSixtiethSecond", 60.6,
                 {{60.7, OffIdleLine("Pat", "0")}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinkRun, PostsTheFirstLinkLineThenLinkLinesAndDisablesAfterEach) {
  Picked h(IdleMode::Link);
  h.ClickAt(70, C::Label8);
  const Journal journal = h.Record([&] { h.Start(); });
  const std::string first = FirstLinkLine("http://pat.example/", "my page");
  const std::string link = LinkLine("http://pat.example/", "my page");
  ExpectLines(h.lines, {{0, BeganLine()}, {1.3, first}, {61.3, MinuteLine("1")}, {62.6, link},
                        {70.6, OffIdleLine("Pat", "1")}});
  const Journal disable = {"disable Text1", "disable Label7", "disable Text2", "disable Text3"};
  const Journal enable = {"enable Label7", "enable Text1", "enable Text2", "enable Text3"};
  Journal want = {"line " + BeganLine(), "line " + first};
  want.insert(want.end(), disable.begin(), disable.end());
  want.push_back("line " + MinuteLine("1"));
  want.push_back("line " + link);
  want.insert(want.end(), disable.begin(), disable.end());
  want.insert(want.end(), enable.begin(), enable.end());
  want.push_back("line " + OffIdleLine("Pat", "1"));
  EXPECT_EQ(journal, want);
}

TEST(RegularRunControls, AreDisabledBeforeTheBeganLineAndEnabledByStop) {
  Picked h(IdleMode::Regular);
  h.ClickAt(5, C::Label8);
  const Journal journal = h.Record([&] { h.Start(); });
  EXPECT_EQ(journal, (Journal{"disable Text1", "disable Text2", "disable Text3", "disable Label7",
                              "line " + BeganLine(), "line " + kReason, "enable Label7",
                              "enable Text1", "enable Text2", "enable Text3",
                              "line " + OffIdleLine("Pat", "0")}));
}

struct RefusalCase {
  const char* name;
  IdleMode mode;
  C emptied;  // the box emptied before Start (Line1: none)
  std::string box;
};

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, ShowsItsTextAndLeavesTheStateAlone) {
  const RefusalCase& c = GetParam();
  Picked h(c.mode);
  if (c.emptied != C::Line1) h.form.SetText(c.emptied, "");
  h.form1.State().Minutes = "7";
  const Journal journal = h.Record([&] { h.Start(); });
  EXPECT_EQ(journal, Journal{"box " + c.box});
  EXPECT_FALSE(h.form1.State().Running);
  EXPECT_EQ(h.form1.State().Minutes, "7");
  // Stop refuses the same way, and changes nothing.
  h.form1.State().Running = true;
  const Journal stop = h.Record([&] { h.form1.Click(C::Label8); });
  EXPECT_EQ(stop, Journal{"box " + c.box});
  EXPECT_TRUE(h.form1.State().Running);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusal,
    testing::Values(RefusalCase{"NoIdlerPicked", IdleMode::None, C::Line1, std::string(kPickAnIdler)},
                    RefusalCase{"EmptyReason", IdleMode::Regular, C::Text1, std::string(kFillInAllBoxes)},
                    RefusalCase{"EmptyUrl", IdleMode::Link, C::Text3, std::string(kFillInAllBoxes)},
                    RefusalCase{"EmptyDescription", IdleMode::Link, C::Text2, std::string(kFillInAllBoxes)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Start, LooksOnlyAtTheBoxesOfItsMode) {
  Picked regular(IdleMode::Regular, " ");
  regular.form.SetText(C::Text2, "");
  regular.form.SetText(C::Text3, "");
  regular.ClickAt(3, C::Label8);
  regular.Start();
  EXPECT_EQ(regular.LineTexts()[1], ReasonLine(" ")) << "a reason of one blank is a reason";

  Picked link(IdleMode::Link);
  link.form.SetText(C::Text1, "");
  link.ClickAt(3, C::Label8);
  link.Start();
  EXPECT_EQ(link.lines.size(), 3u);
}

TEST(ReservedHandle, StartAndStopEachRebukeThenTheNextPressGoesAhead) {
  Picked h(IdleMode::Regular);
  h.StoreHandle("vorn");
  h.Start();
  EXPECT_TRUE(h.lines.empty());
  EXPECT_FALSE(h.form1.State().Running);
  h.StoreHandle("tamsel");
  h.form1.State().Running = true;
  h.form1.Click(C::Label8);
  EXPECT_TRUE(h.form1.State().Running) << "a rebuked Stop leaves the run going";
  EXPECT_EQ(h.boxes.shown.size(), 2u);
  h.ClickAt(2, C::Label8);
  h.Start();
  EXPECT_EQ(h.LineTexts().back(), OffIdleLine(ReplacementHandle, "0"));
}

TEST(Ending, ReadsTheHandleAgain) {
  Picked h(IdleMode::Regular);
  h.clock.At(30, [&] { h.StoreHandle("Kim"); });
  h.ClickAt(40, C::Label8);
  h.Start();
  EXPECT_EQ(h.LineTexts().back(), OffIdleLine("Kim", "0"));
}

// Start stays clickable in two gaps of a run: in the link mode's pause before its first
// link line, and from an accepted Stop to the off-idle line. A Start there does nothing at
// all, and the run ends as it would have without it, ready for the next Start.
struct GapStep {
  double at;
  C click;              // Line1: no click, the box below is emptied instead
  C emptied = C::Line1;
};

struct GapCase {
  const char* name;
  IdleMode mode;
  std::vector<GapStep> steps;
  std::vector<PostedLine> lines;
};

class OneRunAtATime : public testing::TestWithParam<GapCase> {};

TEST_P(OneRunAtATime, StartInAGapDoesNothing) {
  const GapCase& c = GetParam();
  Picked h(c.mode);
  for (const GapStep& step : c.steps) {
    if (step.click == C::Line1) {
      h.clock.At(step.at, [&h, step] { h.form.SetText(step.emptied, ""); });
    } else {
      h.ClickAt(step.at, step.click);
    }
  }
  h.Start();
  ExpectLines(h.lines, c.lines);
  EXPECT_TRUE(h.boxes.shown.empty());
  EXPECT_FALSE(h.form1.State().Running);
  EXPECT_FALSE(h.form1.State().RunUnderWay);
}

const std::string kFirst = FirstLinkLine("http://pat.example/", "my page");

INSTANTIATE_TEST_SUITE_P(
    Gaps, OneRunAtATime,
    testing::Values(
        GapCase{"LinkModesFirstPause", IdleMode::Link, {{0.5, C::Label7}, {10, C::Label8}},
                {{0, BeganLine()}, {1.3, kFirst}, {10.3, OffIdleLine("Pat", "0")}}},
        GapCase{"AfterStop", IdleMode::Regular, {{10.2, C::Label8}, {10.5, C::Label7}},
                {{0, BeganLine()}, {0.7, kReason}, {10.7, OffIdleLine("Pat", "0")}}},
        // Refused today it would bring the stopped run back; in the gap it is not even asked.
        GapCase{"AfterStopWithAnEmptyBox", IdleMode::Regular,
                {{10.2, C::Label8}, {10.3, C::Line1, C::Text1}, {10.5, C::Label7}},
                {{0, BeganLine()}, {0.7, kReason}, {10.7, OffIdleLine("Pat", "0")}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModeChange, DuringALinkRunKeepsItsLinesButChangesWhatStopChecks) {
  Picked h(IdleMode::Link);
  h.ClickAt(30, C::Label4);  // "reg. idle": Mode Regular, reason box "reason"
  h.clock.At(31, [&] { h.form.SetText(C::Text3, ""); });
  h.ClickAt(100, C::Label8);
  h.Start();
  EXPECT_EQ(h.boxes.shown.size(), 0u) << "Stop checks the reason box only";
  EXPECT_EQ(h.LineTexts()[3], LinkLine("http://pat.example/", "my page"));
  EXPECT_EQ(h.LineTexts().back(), OffIdleLine("Pat", "1"));
  EXPECT_EQ(h.form1.State().Mode, IdleMode::Regular);
}

}  // namespace
}  // namespace zantic
