// While you were away, with the real program beside the stand-in: one copy at a time, the
// digest of the room, and the tray icon's menu. Under Wine on Xvfb there is no desktop tray:
// Wine shows the icons in a "Wine System Tray" window of its own; the tests talk to the
// program as that tray does (its callback message), and work the real menu it then pops up
// with the keyboard.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "core/announcement.h"
#include "core/texts.h"
#include "drive/program.h"
#include "drive/sim.h"
#include "ui/win32/form1_window.h"

namespace {

using namespace std::chrono;
using drive::Program;
using drive::Sim;
using zantic::Control;

// A reserved handle written into the file by hand. While the load's rebuke box is up, the
// window does not show and no line is posted, and neither the tray icon (a click, its
// menu's "Exit") nor a second start changes anything: once the box is answered the file is
// mended, the window shows, the second start ends, loaded-by is the room's first line, and
// the tray works. A third start, the window hidden, brings it back without a word.
TEST(AwayE2E, DuringTheLoadsBoxTheTrayAndASecondStartWaitForItAndAThirdBringsTheWindowBack) {
  Sim sim;
  ASSERT_TRUE(sim.Ready());
  Program first({.dir = {}, .settings = "[HANDLE]\nhandle=tamsel\n", .wait_shown = false});
  const HWND box = drive::WaitForBox();
  ASSERT_TRUE(box && first.WaitMade());
  EXPECT_EQ(drive::BoxText(box), zantic::RebukeMessage);
  first.TrayEvent(NIN_SELECT);
  first.TrayEvent(WM_CONTEXTMENU);
  if (drive::WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; }, seconds(2))) {
    drive::Key(VK_UP);
    drive::Key(VK_RETURN);
  }
  Program second({.dir = {}, .settings = {}, .wait_shown = false});
  EXPECT_FALSE(second.Ended(seconds(2))) << "it waits for the first copy's window";
  EXPECT_FALSE(IsWindowVisible(first.Window()));
  EXPECT_TRUE(sim.ChatLines().empty());
  ASSERT_TRUE(drive::AnswerBox(box));
  ASSERT_TRUE(first.WaitShown());
  EXPECT_TRUE(second.Ended(seconds(10)));
  const std::string loaded = zantic::LoadedByLine(zantic::ReplacementHandle);
  ASSERT_TRUE(sim.WaitForChat(loaded));
  EXPECT_EQ(sim.ChatTexts(), std::vector<std::string>{loaded});
  EXPECT_EQ(drive::ReadFileBytes(first.SettingsPath()), "[HANDLE]\nhandle=" + std::string(zantic::ReplacementHandle) + "\n");
  first.TrayEvent(NIN_SELECT);
  EXPECT_TRUE(drive::WaitUntil([&] { return !IsWindowVisible(first.Window()); }));
  Program third({.dir = {}, .settings = {}, .wait_shown = false});
  ASSERT_TRUE(third.Ended(seconds(10)));
  DWORD code = 1;
  GetExitCodeProcess(third.Process(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(drive::WaitUntil([&] { return IsWindowVisible(first.Window()) != FALSE; }));
  Sleep(500);
  EXPECT_EQ(sim.ChatTexts(), std::vector<std::string>{loaded}) << "the room hears nothing of it";
}

// A start right after the copy before it was killed, or while it is being killed (before
// the start can have asked that copy anything: it first waits 100 ms for the mark), and one
// while it is still ending after "X" (its last line waits on a hung client): each shows its
// window and posts its loaded-by line.
TEST(AwayE2E, AStartRightAfterACopyWasKilledOrWhileOneEndsShowsItsWindow) {
  Sim sim;
  auto copy = std::make_unique<Program>();
  ASSERT_TRUE(sim.Ready() && copy->Ready());
  for (int start = 2; start <= 7; ++start) {
    const int kill_ms = start < 7 ? (start - 2) * 20 : -1;  // into the next start; -1: "X"
    if (kill_ms < 0) {
      ASSERT_TRUE(sim.Control("hang 3") && sim.WaitFor("fault", "state", "begin"));
      copy->Click(Control::Label2);
    } else if (kill_ms == 0) {
      TerminateProcess(copy->Process(), 1);
    }
    Program::Options unseen;
    unseen.wait_shown = false;
    auto next = std::make_unique<Program>(unseen);
    if (kill_ms > 0) {
      Sleep(kill_ms);
      TerminateProcess(copy->Process(), 1);
    }
    EXPECT_TRUE(copy->Ended(seconds(10)));
    copy = std::move(next);
    ASSERT_TRUE(copy->WaitShown()) << start;
    EXPECT_TRUE(sim.WaitForEvent([](const drive::Event& e) { return e["text"] == zantic::LoadedByLine(""); }, start))
        << start;
  }
}

// Beside a copy that holds the one-copy mark but whose window does not answer, a start
// says so in a box rather than end with nothing on screen.
TEST(AwayE2E, AStartBesideACopyThatDoesNotAnswerSaysSo) {
  HANDLE mark = CreateMutexW(nullptr, TRUE, L"Local\\zantic-idle.one-copy");
  WNDCLASSW cls{};
  cls.lpfnWndProc = DefWindowProcW;
  cls.lpszClassName = zantic::win32::Form1Window::kClassName;
  RegisterClassW(&cls);
  // This thread's window: it takes no message while the test waits.
  HWND hung = CreateWindowW(cls.lpszClassName, L"Form1", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  Program program({.dir = {}, .settings = {}, .wait_shown = false});
  EXPECT_EQ(drive::AnswerNextBox(), zantic::kOtherCopyDoesNotAnswer);
  EXPECT_TRUE(program.Ended());
  DestroyWindow(hung);
  ReleaseMutex(mark);
  CloseHandle(mark);
}

// The program as built, and the copy that takes every Windows XP way: its tray added with
// XP's structure and in the shell's version 3 (callbacks that tell no place), its window
// still at the display's DPI.
struct Build {
  const char* name;
  bool as_windows_xp;
};

class AwayE2EBuilds : public testing::TestWithParam<Build> {};

TEST_P(AwayE2EBuilds, TheDigestShowsExactlyWhoMentionedTheUserAndTheTrayMenuWorks) {
  Sim sim;
  Program program(GetParam().as_windows_xp ? Program::AsOnWindowsXp({}) : Program::Options{});
  ASSERT_TRUE(sim.Ready() && program.Ready());
  ASSERT_NE(FindWindowW(L"__winex11_standalone_tray", nullptr), nullptr) << "Wine shows the icon in its own tray";
  const RECT frame = program.Rect();
  EXPECT_EQ(frame.right - frame.left, drive::Px(drive::kFormWidth));
  EXPECT_EQ(frame.bottom - frame.top, drive::Px(drive::kFormHeight));
  program.StartRegularRun("lunch");
  ASSERT_TRUE(sim.WaitForChat(zantic::ReasonLine("lunch")));
  for (const char* line : {"Kim Lee\tpat doe, you there?", "Sam Ray\thi all", "Jo Park\tPat Doers unite",
                           "Alex Finn\tbrb PAT DOE \xE2\x98\x83"}) {
    ASSERT_TRUE(sim.Control(std::string("say ") + line));
  }
  // The user's own "show" answered after them: the scanner has read them all (the user's
  // lines never enter the digest).
  ASSERT_TRUE(sim.Ask("Pat Doe", "show", zantic::ShownLine()));
  // "Stop idling" from the tray's menu, opened where the click was: the third item.
  ASSERT_TRUE(program.OpenTrayMenu(POINT{200, 200}));
  RECT menu{};
  GetWindowRect(FindWindowW(L"#32768", nullptr), &menu);
  EXPECT_EQ(menu.left, 200);
  EXPECT_EQ(menu.top, 200);
  for (int i = 0; i < 3; ++i) drive::Key(VK_DOWN);
  drive::Key(VK_RETURN);
  ASSERT_TRUE(sim.WaitForChat(zantic::OffIdleLine("", "0")));
  const auto shown = drive::WaitForDigest();
  ASSERT_TRUE(shown);
  const HWND digest = shown->window;
  EXPECT_FALSE(GetWindowLongW(digest, GWL_EXSTYLE) & WS_EX_TOPMOST);
  const std::string& text = shown->lines;
  EXPECT_NE(text.find("  Kim Lee: pat doe, you there?\r\n"), std::string::npos) << text;
  // A snowman, outside the code page, read from the room as it was said.
  EXPECT_NE(text.find("  Alex Finn: brb PAT DOE \xE2\x98\x83\r\n"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
  EXPECT_NE(shown->heading.find("; 2 mentioned you"), std::string::npos);
  drive::Key(VK_ESCAPE);
  EXPECT_TRUE(drive::WaitUntil([&] { return !IsWindow(digest); }));
  // A left click hides the window and shows it again, privately.
  const std::size_t lines = sim.ChatLines().size();
  program.TrayEvent(NIN_SELECT);
  EXPECT_TRUE(drive::WaitUntil([&] { return !IsWindowVisible(program.Window()); }));
  program.TrayEvent(NIN_SELECT);
  EXPECT_TRUE(drive::WaitUntil([&] { return IsWindowVisible(program.Window()) != FALSE; }));
  EXPECT_EQ(sim.ChatLines().size(), lines);
  // "Exit", the last item, does what "X" does.
  ASSERT_TRUE(program.OpenTrayMenu());
  drive::Key(VK_UP);
  drive::Key(VK_RETURN);
  EXPECT_TRUE(sim.WaitForChat(zantic::UnloadedByLine("")));
  EXPECT_TRUE(program.Ended());
}

INSTANTIATE_TEST_SUITE_P(Builds, AwayE2EBuilds,
                         testing::Values(Build{"AsBuilt", false}, Build{"WindowsXpWays", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
