// The real program beside a client that fails: missing, hung, crashed and restarted, its
// room closed or another opened in front, instant-message windows that never come, come
// late or lack their Send button, a message box already open. With ZANTIC_SOAK set the hang
// runs at its full length and the slowest cases run too (scripts/soak).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "aol/chat_room.h"
#include "aol/instant_message.h"
#include "core/announcement.h"
#include "drive/program.h"
#include "drive/sim.h"
#include "platform/win32/event_loop_win32.h"
#include "platform/win32/window_system_win32.h"

namespace {

using namespace std::chrono;
using drive::Program;
using drive::Sim;
using zantic::Control;

// The user says "hide", then "show"; each is answered in `room`, and the window follows.
void ExpectCommandsAnsweredIn(Sim& sim, const Program& program, const std::string& room) {
  for (const bool hide : {true, false}) {
    auto x = sim.Ask("Pat Doe", hide ? "hide" : "show", hide ? zantic::HiddenLine() : zantic::ShownLine());
    ASSERT_TRUE(x) << hide;
    EXPECT_EQ(x->answer["room"], room);
    EXPECT_EQ(IsWindowVisible(program.Window()) != FALSE, !hide);
  }
}

TEST(NoClientE2E, EveryCommandReturnsAtOnceAndTheProgramWorksOn) {
  ASSERT_EQ(FindWindowA("AOL Frame25", nullptr), nullptr);
  zantic::win32::Win32WindowSystem windows;
  zantic::win32::Win32EventLoop events;
  const auto start = steady_clock::now();
  zantic::SendChatLine(windows, "into the void");
  EXPECT_EQ(zantic::GetScreenName(windows), "");
  zantic::SetImsOff(windows, events);
  EXPECT_LT(steady_clock::now() - start, milliseconds(100));

  Program program;
  ASSERT_TRUE(program.Ready());
  program.StartRegularRun("out");
  EXPECT_TRUE(drive::WaitUntil([&] { return !program.Enabled(Control::Label7); }));
  program.Click(Control::Label8);
  EXPECT_TRUE(drive::WaitUntil([&] { return program.Enabled(Control::Label7); }));
  program.Click(Control::Label6);
  program.Click(Control::Label10);  // "IMs off"
  EXPECT_LT(program.ClickForBox(Control::Label12), milliseconds(1000));
  EXPECT_EQ(program.Exit(), 0u);
}

struct ClientFault {
  const char* name;
  std::vector<std::string> commands;  // to the stand-in during a run; "restart": crash, start again
  std::string room;                   // where the later lines go
};

class ClientFaultE2E : public testing::TestWithParam<ClientFault> {};

TEST_P(ClientFaultE2E, TheRunGoesOnAndLaterLinesReachTheRoomThatIsThere) {
  Sim sim;
  Program program;
  ASSERT_TRUE(sim.Ready() && program.Ready());
  program.StartRegularRun("out");
  ASSERT_TRUE(sim.WaitForChat(zantic::ReasonLine("out")));
  for (const std::string& command : GetParam().commands) {
    ASSERT_TRUE(command == "restart" ? sim.CrashAndRestart() : sim.Control(command)) << command;
  }
  Sleep(500);  // what a room holds before the scanner first looks at it is history
  ExpectCommandsAnsweredIn(sim, program, GetParam().room);
  program.Click(Control::Label8);
  auto off = sim.WaitForChat(zantic::OffIdleLine("", "0"));
  ASSERT_TRUE(off);
  EXPECT_EQ((*off)["room"], GetParam().room);
}

INSTANTIATE_TEST_SUITE_P(
    MidRun, ClientFaultE2E,
    testing::Values(ClientFault{"KilledAndRestarted", {"restart"}, "Lobby 12"},
                    ClientFault{"RoomClosedAndReopened", {"close-room", "open-room front Lobby 12"}, "Lobby 12"},
                    ClientFault{"SecondRoomInFront", {"open-room front Side Room"}, "Side Room"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HungClientE2E, EachCommandWaitsAtMostTheBoundAndTheRunCountsOn) {
  // Soak: 30 s across the first minute step, which is lost; the second is not.
  const bool soak = drive::Soak();
  Sim sim;
  Program program;
  ASSERT_TRUE(sim.Ready() && program.Ready());
  program.StartRegularRun("out");
  auto reason = sim.WaitForChat(zantic::ReasonLine("out"));
  ASSERT_TRUE(reason);
  program.Click(Control::Label6);
  if (soak) Sleep(45000);
  ASSERT_TRUE(sim.Control(soak ? "hang 30" : "hang 6"));
  ASSERT_TRUE(sim.WaitFor("fault", "state", "begin"));
  // "adv" while it hangs: the first send waits out its bound, the later ones give up at
  // once, and the window answers throughout.
  for (int i = 0; i < 3; ++i) {
    program.Click(Control::Label11);
    const auto box = program.ClickForBox(Control::Label12).count();
    std::printf("click %d while hung: the box came after %lld ms\n", i, static_cast<long long>(box));
    EXPECT_LT(box, i == 0 ? 2600 : 700) << "click " << i;
  }
  ASSERT_TRUE(sim.WaitFor("fault", "state", "end", seconds(35)));
  ExpectCommandsAnsweredIn(sim, program, "Lobby 12");
  if (soak) {
    auto minute = sim.WaitForChat(zantic::MinuteLine("2"), seconds(120));
    ASSERT_TRUE(minute);
    // Two minutes of pauses and steps; the clicks inside its pauses lengthen them by up to
    // the one bound and their own pauses.
    EXPECT_GT(minute->t() - reason->t(), 120700);
    EXPECT_LT(minute->t() - reason->t(), 120700 + 2000 + 3 * 700 + 500);
    EXPECT_EQ(sim.Count(zantic::MinuteLine("1")), 0);
  }
  program.Click(Control::Label8);
  EXPECT_TRUE(sim.WaitForChat(zantic::OffIdleLine("", soak ? "2" : "0")));
}

struct ImFault {
  const char* name;
  const wchar_t* args;
  std::string command;  // to the stand-in before "IMs off"
  bool sent, answered;  // the message went and its window closed; an "America Online" box was answered
};

class ImFaultE2E : public testing::TestWithParam<ImFault> {};

TEST_P(ImFaultE2E, TheWindowAnswersWhileTheCommandWaitsAndTheWaitEnds) {
  const ImFault& c = GetParam();
  const bool after_the_bound = std::wstring(c.args) == L"--im-delay 21";
  if (after_the_bound && !drive::Soak()) GTEST_SKIP() << "25 s: scripts/soak runs it";
  Sim sim(Sim::Options{L"Pat Doe", c.args});
  Program program;
  ASSERT_TRUE(sim.Ready() && program.Ready());
  ASSERT_TRUE(c.command.empty() || sim.Control(c.command));
  program.Click(Control::Label6);
  program.Click(Control::Label10);
  ASSERT_TRUE(sim.WaitForChat(zantic::ImsOffLine()));
  EXPECT_LT(program.ClickForBox(Control::Label12), milliseconds(1000));
  EXPECT_EQ(sim.WaitFor("im_sent", {}, {}, seconds(c.sent ? 10 : 2)).has_value(), c.sent);
  EXPECT_EQ(sim.WaitFor("msgbox_answered", {}, {}, seconds(1)).has_value(), c.answered);
  EXPECT_EQ(sim.WaitFor("im_closed", {}, {}, seconds(1)).has_value(), c.sent);
  if (after_the_bound) {
    // The program had given up: the window stays open, unsent.
    EXPECT_TRUE(sim.WaitFor("im_opened", {}, {}, seconds(25)));
    EXPECT_FALSE(sim.WaitFor("im_sent", {}, {}, seconds(2)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ImFaultE2E,
    testing::Values(ImFault{"NeverOpens", L"--im-never", "", false, false},
                    ImFault{"OpensLate", L"--im-delay 4", "", true, true},
                    ImFault{"OpensAfterTheBound", L"--im-delay 21", "", false, false},
                    ImFault{"EightIcons", L"--im-icons 8", "", false, false},
                    ImFault{"BoxAlreadyOpen", L"", "msgbox Mail is waiting.", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
