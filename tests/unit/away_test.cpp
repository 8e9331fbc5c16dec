// While you were away: the digest of the room, the nudge when the user is back, and the
// tray icon's tooltip, clicks and menu. None of it posts to the room.
#include <gtest/gtest.h>

#include <tuple>

#include "core/announcement.h"
#include "core/digest.h"
#include "core/texts.h"
#include "fakes/harness.h"

namespace zantic {
namespace {

using C = Control;
using fakes::Harness;

// The user is "Pat Doe" (screen name) with the handle "zz top"; a line, and whether it
// mentions them.
struct MentionCase {
  std::string speaker, text;
  bool mention;
};

TEST(Digest, KeepsTheLinesOfOthersThatNameTheUser) {
  const MentionCase cases[] = {
      {"Kim", "pat doe?", true},            {"Kim", "hey PAT   DOE, you there", true},
      {"Kim", "(Pat Doe)", true},           {"Kim", "Pat Doers club", false},
      {"Kim", "SpatDoe", false},            {"Kim", "is ZZ TOP idle again", true},
      {"Kim", "zz topping", false},         {"Kim", "Pat", false},
      {"Pat Doe", "Pat Doe talks to himself", false},  // the user's own line
      {"Sam", std::string(kProgramLineShown) + " handle changed to Pat Doe", false},  // a copy of the program
      {"Kim", "0pat doe 9pat doe apat doe zpat doe Apat doe Zpat doe \xC4\x80pat doe pat doe\xC3\xA9", false},
      {"Kim", "bye zz top", true},  // the handle's blanks around it are no part of it
  };
  RoomDigest digest;
  digest.Begin("Pat Doe", " zz top ");
  for (const auto& c : cases) digest.Line(c.speaker, c.text, 61);
  std::vector<std::string> kept;
  for (const auto& m : digest.mentions()) kept.push_back(m.text);
  std::vector<std::string> want;
  for (const auto& c : cases) if (c.mention) want.push_back(c.text);
  EXPECT_EQ(kept, want);
  EXPECT_EQ(digest.others(), 11u) << "every line of others counts";
  digest.End("3");
  EXPECT_EQ(digest.Heading(), "11 lines were said while you idled 3 minute(s); 5 mentioned you");
  EXPECT_EQ(digest.Lines().substr(0, 22), "01:01  Kim: pat doe?\r\n");
  EXPECT_FALSE(Mentions("anything at all", "")) << "an empty name names nothing";
  EXPECT_FALSE(Mentions("anything at all", "  "));
  EXPECT_FALSE(Mentions("well, ok", "Pat Doe"));
  EXPECT_FALSE(Mentions("hi j.doe", "J Doe")) << "a blank of the name is a blank";
}

TEST(Digest, KeepsTheLatestMentionsAndCountsTheRest) {
  RoomDigest digest;
  digest.Begin("", "Pat");  // the screen name not known: only the handle
  for (int i = 0; i < 201; ++i) digest.Line("Kim", "Pat " + std::to_string(i), i);
  digest.Line("Kim", "hi", 0);
  digest.End("1");
  EXPECT_EQ(digest.mentions().size(), RoomDigest::kKept);
  EXPECT_EQ(digest.mentions().front().text, "Pat 1");
  EXPECT_EQ(digest.Heading(), "202 lines were said while you idled 1 minute(s); 201 mentioned you (the first 1 are not kept)");
  RoomDigest one;
  one.Begin("Pat", "");
  one.Line("Kim", "bye", 0);
  one.End("0");
  EXPECT_EQ(one.Heading(), "1 line was said while you idled 0 minute(s); none mentioned you");
}

// A run with members talking and the user coming back: the tooltip, the balloon and the
// digest, and nothing in the room but the run's own lines.
TEST(Away, ARunFollowedPrivately) {
  Harness h;
  h.StoreHandle("Pat");
  h.form1.Form_Load();
  h.form1.Click(C::Label4);
  std::vector<std::string> tips;
  h.clock.At(30, [&] { h.form1.Chat1_ChatLine("Kim Lee", "pat doe, lunch?"); });
  h.clock.At(31, [&] { h.form1.Chat1_ChatLine("Sam Ray", "hi all"); });
  h.clock.At(62, [&] { tips.push_back(h.tray.tip); });
  for (double t = 70; t < 110; t += 2) h.clock.At(t, [&h] { h.input.last_input_ms = static_cast<std::uint32_t>(h.clock.Now() * 1000); });
  h.clock.At(120, [&] {
    tips.push_back(h.tray.tip);
    ASSERT_EQ(h.tray.balloons, std::vector<std::string>{std::string(kBackBalloon)});
    h.form1.Tray_BalloonClick();
  });
  // Checks every fifth second of the run (5.7 s, ..., 66.4 s after the minute step's 0.7 s):
  // the fifth one with input since 70 s is at 91.4 s.
  h.clock.At(91.3, [&] { EXPECT_TRUE(h.tray.balloons.empty()); });
  h.clock.At(91.5, [&] { EXPECT_EQ(h.tray.balloons.size(), 1u); });
  h.form1.Click(C::Label7);
  EXPECT_EQ(tips, (std::vector<std::string>{"zantic idle - idling, 1 minute(s)", "zantic idle - idling, 1 minute(s)"}));
  EXPECT_EQ(h.tray.tip, "zantic idle");
  EXPECT_EQ(h.LineTexts().back(), OffIdleLine("Pat", "1")) << "the balloon's click is Stop";
  EXPECT_EQ(h.lines.size(), 6u) << "loaded-by, began, reason, minute, reason, off-idle";
  ASSERT_EQ(h.digest_view.shown.size(), 1u);
  EXPECT_EQ(h.digest_view.shown[0], std::make_pair(std::string("2 lines were said while you idled 1 minute(s); 1 mentioned you"),
                                                   std::string("09:05  Kim Lee: pat doe, lunch?\r\n")));
}

TEST(Away, TheTrayIconsClicksAndMenu) {
  Harness h;
  h.form1.Form_Load();
  h.lines.clear();
  h.own_window.window_pos_calls.clear();
  h.form1.Tray_Command(TrayCommand::WhileYouWereAway);
  ASSERT_EQ(h.digest_view.shown.size(), 1u);
  EXPECT_EQ(h.digest_view.shown[0].first.rfind("Nothing yet", 0), 0u);
  h.form1.Tray_Click();
  EXPECT_FALSE(h.form.form_visible);
  std::vector<TrayMenuItem> menu = h.form1.TrayMenu();
  menu.erase(menu.begin() + 3, menu.end() - 1);  // idling by itself: auto_idle_test.cpp
  EXPECT_EQ(menu, (std::vector<TrayMenuItem>{{TrayCommand::ShowOrHide, "Show window", true},
                                             {TrayCommand::WhileYouWereAway, "While you were away\xE2\x80\xA6", true},
                                             {TrayCommand::StopIdling, "Stop idling", false},
                                             {TrayCommand::Exit, "Exit", true}}));
  h.form1.Tray_Command(TrayCommand::ShowOrHide);
  EXPECT_TRUE(h.form.form_visible);
  EXPECT_EQ(h.form1.TrayMenu()[0].text, "Hide window");
  EXPECT_EQ(h.own_window.window_pos_calls.size(), 1u) << "brought to the front";
  h.form1.AnotherCopyStarted();
  EXPECT_EQ(h.own_window.window_pos_calls.size(), 2u);
  EXPECT_TRUE(h.lines.empty()) << "all of it privately";
  h.form1.Click(C::Label4);
  h.clock.At(5, [&] {
    EXPECT_TRUE(h.form1.TrayMenu()[2].enabled);
    h.form1.Tray_Command(TrayCommand::StopIdling);
  });
  h.clock.At(5.2, [&] { EXPECT_FALSE(h.form1.TrayMenu()[2].enabled) << "the run is stopping"; });
  h.form1.Click(C::Label7);
  EXPECT_EQ(h.LineTexts().back(), OffIdleLine("", "0"));
  EXPECT_EQ(h.digest_view.shown.size(), 1u) << "a run that nobody mentioned the user in shows no digest";
  EXPECT_THROW(h.form1.Tray_Command(TrayCommand::Exit), fakes::ProgramEnded);
  EXPECT_EQ(h.LineTexts().back(), UnloadedByLine(""));
  EXPECT_TRUE(h.tray.removed);
}


// While the load's box is up, the tray and another copy change nothing (the window shows
// when the load ends, the loaded-by line first); from "X" on, neither brings the window back.
TEST(Away, TheTrayAndAnotherCopyWaitForTheLoadAndLetAnEndingCopyGo) {
  Harness h;
  h.StoreHandle("vorn");
  h.form.form_visible = false;
  h.boxes.while_shown = [&] {
    h.form1.Tray_Click();
    h.form1.Tray_Command(TrayCommand::Exit);
    h.form1.Tray_BalloonClick();
    EXPECT_TRUE(h.form1.TrayMenu().empty());
    EXPECT_EQ(h.form1.AnotherCopyStarted(), CopyAnswer::Loading);
  };
  h.form1.Form_Load();
  EXPECT_FALSE(h.form.form_visible);
  EXPECT_EQ(h.LineTexts(), std::vector<std::string>{LoadedByLine(ReplacementHandle)});
  EXPECT_EQ(h.form1.AnotherCopyStarted(), CopyAnswer::Shown);
  EXPECT_TRUE(h.form.form_visible);
  h.clock.At(0.2, [&] {
    EXPECT_EQ(h.form1.AnotherCopyStarted(), CopyAnswer::Ending);
    h.form1.Tray_Click();
    EXPECT_TRUE(h.form.form_visible);
  });
  EXPECT_THROW(h.form1.Click(C::Label2), fakes::ProgramEnded);
  EXPECT_EQ(h.lines.size(), 2u);
}

// What a second start does after hearing the other copy (nothing: no window, or no answer)
// so many seconds into its wait: a copy that answers is alive, one that is silent is not.
TEST(Away, ASecondStartWaitsForTheOtherCopyButNotForEver) {
  using A = CopyAnswer;
  using N = OtherCopyWait::Next;
  OtherCopyWait wait(0);
  const std::tuple<double, std::optional<A>, N> heard[] = {{0.1, std::nullopt, N::AskAgain}, {4.9, A::Ending, N::AskAgain},
                                                           {9.8, A::Loading, N::AskAgain}, {14.7, std::nullopt, N::AskAgain},
                                                           {14.8, std::nullopt, N::TellUserAndEnd}};
  for (const auto& [t, answer, next] : heard) EXPECT_EQ(wait.Heard(answer, t), next) << t;
  EXPECT_EQ(OtherCopyWait(0).Heard(A::Shown, 0.1), N::End);
}

// During a run with no Welcome window the screen name is looked for now and then, not at
// every line, and found once the window is back.
TEST(Away, TheScreenNameIsNotLookedForAtEveryLine) {
  Harness h;
  const Hwnd welcome = h.desktop.FindWindowExA(h.client.mdi, kNoWindow, "AOL Child", "Welcome, Pat Doe!");
  h.desktop.SetCaption(welcome, "Buddy List");
  h.form1.Click(C::Label4);
  int lookups = 0;
  h.clock.At(2, [&] { lookups = h.desktop.find_window_calls; });
  for (int i = 0; i < 50; ++i) {
    h.clock.At(2.1 + i * 0.2, [&h, i] { h.form1.Chat1_ChatLine("Kim Lee", "line " + std::to_string(i)); });
  }
  h.clock.At(12.1, [&] {
    lookups = h.desktop.find_window_calls - lookups;
    h.desktop.SetCaption(welcome, "Welcome, Pat Doe!");
  });
  h.clock.At(20, [&] { h.form1.Chat1_ChatLine("Kim Lee", "pat doe, back?"); });
  h.ClickAt(30, C::Label8);
  h.form1.Click(C::Label7);
  EXPECT_LE(lookups, 3) << "50 lines in 10 s";
  EXPECT_EQ(h.form1.LastDigest().mentioned(), 1u);
}

}  // namespace
}  // namespace zantic
