// Idling by itself with the real program beside the stand-in: a short delay written in the
// file, input given through the system's input queue, the choice made in the tray's real
// menu (worked with the keyboard, as in away_e2e) and the file it leaves.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/announcement.h"
#include "drive/program.h"
#include "drive/sim.h"

namespace {

using namespace std::chrono;
using drive::Key;
using drive::Program;
using zantic::Control;

TEST(AutoIdleE2E, StartsAfterTheDelayWithNoInputAndStopsAfterSteadyInput) {
  drive::Sim sim;
  Program program({.dir = {}, .settings = "[handle]\r\nHANDLE=Pat\r\n[options]\r\nautoidle=0.1\r\n"});
  ASSERT_TRUE(sim.Ready() && program.Ready());
  program.Click(Control::Label4);  // "reg. idle": the reason box holds "reason"
  ASSERT_TRUE(sim.WaitForChat(zantic::ReasonLine("reason"), seconds(30)));
  EXPECT_FALSE(program.Enabled(Control::Label7)) << "as after a click on Start";
  const std::string off = zantic::OffIdleLine("Pat", "0");
  EXPECT_EQ(sim.Count(off), 0);
  // Half a minute of the user's input, five checks of it at least.
  EXPECT_TRUE(drive::BusyUntil([&] { return sim.Count(off) == 1; }, seconds(60)));
  EXPECT_EQ(sim.ChatTexts(), (std::vector<std::string>{zantic::LoadedByLine("Pat"), zantic::BeganLine(),
                                                       zantic::ReasonLine("reason"), off}));
  EXPECT_EQ(program.Exit(), 0u);
}

// Picked in the menu, kept in the file beside the handle with nothing else changed, and
// in force after a restart: there the menu's first item of it unchecks it, which stores 0.
TEST(AutoIdleE2E, TheChoiceFromTheTrayIsStoredAndSurvivesARestart) {
  drive::Sim sim;
  const std::string before = "\xEF\xBB\xBF; mine\n[handle]\nHANDLE=Pat\n";
  Program program({.dir = {}, .settings = before});
  ASSERT_TRUE(sim.Ready() && program.Ready());
  auto file_is = [&](const std::string& bytes) {
    return drive::WaitUntil([&] { return drive::ReadFileBytes(program.SettingsPath()) == bytes; });
  };
  ASSERT_TRUE(program.OpenTrayMenu());
  for (WORD key : {VK_UP, VK_UP, VK_RIGHT, VK_RETURN}) Key(key);  // "Exit", "Delay", its "5 minutes"
  EXPECT_TRUE(file_is(before + "[options]\nautoidle=5\n"));
  ASSERT_EQ(program.Exit(), 0u);
  Program again({.dir = program.Dir(), .settings = {}});
  ASSERT_TRUE(again.Ready());
  ASSERT_TRUE(again.OpenTrayMenu());
  for (WORD key : {VK_UP, VK_UP, VK_UP, VK_RETURN}) Key(key);  // "Idle by itself after 5 minutes away"
  EXPECT_TRUE(file_is(before + "[options]\nautoidle=0\n"));
  EXPECT_EQ(again.Exit(), 0u);
}

}  // namespace
