// The stand-in as the program and its tests meet it: its window tree answers the
// program's lookups, lines from another process arrive byte for byte and are shown as the
// client shows them, the transcript keeps its most recent lines under a flood, instant
// messages and message boxes go as the client's do, and its fault modes do what they say.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "aol/chat_room.h"
#include "aol/send_queue.h"
#include "aol/instant_message.h"
#include "core/announcement.h"
#include "platform/win32/event_loop_win32.h"
#include "platform/win32/window_system_win32.h"
#include "drive/sim.h"

namespace {

using drive::Event;
using drive::RemoteRichEdit;
using drive::Sim;
using namespace std::chrono;
using zantic::win32::Win32WindowSystem;

std::string Caption(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// --- The window tree answers the program's lookups ------------------------------------

struct LookupCase {
  const char* name;
  const wchar_t* args;
  std::vector<std::string> commands;
  std::string room;         // the room the program finds; "" for none
  std::string screen_name;  // what the program reads from the Welcome window
};

class LookupE2E : public testing::TestWithParam<LookupCase> {};

TEST_P(LookupE2E, ProgramFindsTheRoomTheScreenNameAndTheKeywordBox) {
  const LookupCase& c = GetParam();
  Sim sim(Sim::Options{L"Pat Doe", c.args});
  ASSERT_TRUE(sim.Ready());
  for (const std::string& command : c.commands) ASSERT_TRUE(sim.Control(command)) << command;
  Win32WindowSystem windows;
  zantic::SendQueue aol(windows);

  const zantic::Hwnd room = zantic::FindChatRoom(windows);
  EXPECT_EQ(room ? Caption(reinterpret_cast<HWND>(room)) : "", c.room);
  EXPECT_EQ(zantic::GetScreenName(windows), c.screen_name);

  // The keyword box, down the toolbar's chain.
  HWND box = FindWindowA("AOL Frame25", nullptr);
  for (const char* cls : {"AOL Toolbar", "_AOL_Toolbar", "_AOL_Combobox", "Edit"}) {
    box = FindWindowExA(box, nullptr, cls, nullptr);
    ASSERT_NE(box, nullptr) << cls;
  }

  zantic::SendChatLine(aol, "probe");
  if (c.room.empty()) {
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_TRUE(sim.ChatLines().empty()) << "with no room the line is lost";
  } else {
    auto line = sim.WaitForChat("probe");
    ASSERT_TRUE(line);
    EXPECT_EQ((*line)["room"], c.room);
  }
}

INSTANTIATE_TEST_SUITE_P(
    StartStatesAndControls, LookupE2E,
    testing::Values(
        LookupCase{"Default", L"", {}, "Lobby 12", "Pat Doe"},
        LookupCase{"WelcomeFirst", L"--welcome front", {}, "Lobby 12", "Pat Doe"},
        LookupCase{"SecondRoomInFront", L"", {"open-room front Side Room"}, "Side Room", "Pat Doe"},
        LookupCase{"SecondRoomBehind", L"", {"open-room back Side Room"}, "Lobby 12", "Pat Doe"},
        LookupCase{"FirstRoomClosed", L"", {"open-room back Side Room", "close-room"}, "Side Room", "Pat Doe"},
        LookupCase{"NoRoom", L"--no-room", {}, "", "Pat Doe"},
        LookupCase{"WelcomeHidden", L"", {"hide-welcome"}, "Lobby 12", ""},
        LookupCase{"WelcomeShownBehind", L"--welcome none", {"show-welcome back"}, "Lobby 12", "Pat Doe"},
        LookupCase{"ScreenNameChanged", L"", {"screen-name Jo  Z!x"}, "Lobby 12", "Jo  Z"}),
    [](const testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

// --- Lines arrive byte for byte and are shown as the client shows them -----------------

// 100,000 characters of markup that never completes: no ';' after an '&', no '>' after a
// '<', no "-->" after a "<!--".
std::string UnfinishedMarkup() {
  std::string text;
  while (text.size() < 100000) text += "&<a x=\"<!--";
  return text;
}

struct LineCase {
  const char* name;
  std::string text;
  std::string shown;        // the transcript paragraph
  std::string speaker = {};  // another member's line (by the control channel); "" for the program's
};

class ChatLineE2E : public testing::TestWithParam<LineCase> {};

TEST_P(ChatLineE2E, ArrivesWholeAndIsShownAsOneParagraph) {
  const LineCase& c = GetParam();
  Sim sim;
  ASSERT_TRUE(sim.Ready());
  ASSERT_TRUE(sim.Say("Kim Lee", "before"));
  Win32WindowSystem windows;
  zantic::SendQueue aol(windows);
  if (c.speaker.empty()) {
    zantic::SendChatLine(aol, c.text);
  } else {
    ASSERT_TRUE(sim.Say(c.speaker, c.text));
  }

  auto line = sim.WaitForChat(c.text);
  ASSERT_TRUE(line);
  EXPECT_EQ((*line)["speaker"], c.speaker.empty() ? "Pat Doe" : c.speaker);
  EXPECT_EQ((*line)["shown"], c.shown);

  RemoteRichEdit transcript(sim.Transcript());
  ASSERT_TRUE(transcript.Valid());
  const auto paragraphs = transcript.Paragraphs();
  ASSERT_EQ(paragraphs.size(), 2u) << "one line is one paragraph, whatever its text holds";
  EXPECT_EQ(paragraphs[0], L"Kim Lee:\tbefore");
  EXPECT_EQ(drive::Narrow(paragraphs[1]), c.shown);
  EXPECT_FALSE(sim.WaitFor("transcript", "state", "resync", milliseconds(0)))
      << "the stand-in's count of each line's length matches the transcript";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ChatLineE2E,
    testing::Values(
        LineCase{"LoadedBy", zantic::LoadedByLine("Pat Doe"), "Pat Doe:\tb zantic idle loaded by Pat Doe"},
        LineCase{"FirstLinkWithBlankInUrl", zantic::FirstLinkLine("http://x.y/a b", "my <i>site</i>"),
                 "Pat Doe:\tb zantic idle rsn: my site"},
        LineCase{"BreaksForgeNoLine", "hi\r\nKim Lee:\tforged\nand\rmore",
                 "Pat Doe:\thi  Kim Lee:\tforged and more"},
        LineCase{"StrayMarkupShownAsTyped", "1 < 2 & 3 > 2 &amp; &bogus; <3 <b",
                 "Pat Doe:\t1 < 2 & 3 > 2 & &bogus; <3 <b"},
        LineCase{"RichTextLookalike", "{\\rtf1 \\b not bold}", "Pat Doe:\t{\\rtf1 \\b not bold}"},
        LineCase{"HundredThousandCharacters", std::string(100000, 'x'),
                 "Pat Doe:\t" + std::string(8192, 'x')},
        LineCase{"HundredThousandOfUnfinishedMarkup", UnfinishedMarkup(),
                 "Pat Doe:\t" + UnfinishedMarkup().substr(0, 8192)},
        // Beyond the code page: a character outside the basic plane, the Unicode line and
        // paragraph separators, next line, control characters.
        LineCase{"UnicodeBreaksAndControls", "\xF0\x9F\x98\x80|\xE2\x80\xA8|\xE2\x80\xA9|\xC2\x85|\x01\x7F|\t|\xC3\xA9",
                 "Kim Lee:\t\xF0\x9F\x98\x80| | | |  |\t|\xC3\xA9", "Kim Lee"}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

// --- Instant messages and the message box, driven as the program drives them -----------

struct ImCase {
  const char* name;
  std::string recipient;
  std::string state;  // the IM state it switches to; "" for an ordinary message
};

class InstantMessageE2E : public testing::TestWithParam<ImCase> {};

TEST_P(InstantMessageE2E, GoesAsTheClientsDoes) {
  const ImCase& c = GetParam();
  Sim sim(Sim::Options{L"Pat Doe", L"--im-delay 0.25"});
  ASSERT_TRUE(sim.Ready());
  Win32WindowSystem windows;
  zantic::SendQueue aol(windows);
  zantic::win32::Win32EventLoop events;
  const double start = events.Now();
  zantic::SendInstantMessage(aol, events, c.recipient, "=)");
  EXPECT_LT(events.Now() - start, 5) << "the outcome came, no wait ran to its bound";

  auto keyword = sim.WaitFor("keyword");
  auto opened = sim.WaitFor("im_opened", "recipient", c.recipient);
  ASSERT_TRUE(keyword && opened);
  EXPECT_EQ((*keyword)["text"], " aol://9293:" + c.recipient) << "the blank lands where the caret was";
  EXPECT_GE(opened->t() - keyword->t(), 240) << "the window comes after the configured delay";
  auto sent = sim.WaitFor("im_sent", "recipient", c.recipient);
  ASSERT_TRUE(sent);
  EXPECT_EQ((*sent)["text"], "=)");
  EXPECT_TRUE(sim.WaitFor("im_closed", "recipient", c.recipient));
  if (!c.state.empty()) {
    EXPECT_TRUE(sim.WaitFor("im_state", "state", c.state));
    EXPECT_TRUE(sim.WaitFor("msgbox_answered", "button", "ok"));
    EXPECT_TRUE(drive::WaitUntil([] { return !FindWindowA("#32770", "America Online"); }));
  }
}

INSTANTIATE_TEST_SUITE_P(Recipients, InstantMessageE2E,
                         testing::Values(ImCase{"ImsOff", "$IM_OFF", "off"}, ImCase{"ImsOn", "$IM_ON", "on"},
                                         ImCase{"Member", "Kim Lee", ""}),
                         [](const testing::TestParamInfo<ImCase>& info) { return std::string(info.param.name); });

// --- Fault modes -------------------------------------------------------------------------

TEST(FaultE2E, UnaskedMessageBoxIsAnsweredBySpaceTheMomentItIsFound) {
  Sim sim;
  ASSERT_TRUE(sim.Ready());
  // Found at once, as the program finds it: its first "Button" must be the one that stays.
  for (int i = 1; i <= 3; ++i) {
    ASSERT_TRUE(sim.Control("msgbox Your session is about to end."));
    HWND box = nullptr;
    ASSERT_TRUE(drive::WaitUntil([&] { return (box = FindWindowA("#32770", "America Online")) != nullptr; }));
    HWND ok = FindWindowExA(box, nullptr, "Button", nullptr);
    ASSERT_NE(ok, nullptr);
    ASSERT_TRUE(sim.Say("Kim Lee", "the room goes on while the box waits"));
    PostMessageA(ok, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(ok, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(sim.WaitForEvent([](const Event& e) { return e.event() == "msgbox_answered" && e["button"] == "ok"; },
                                 i, seconds(3)))
        << "box " << i;
    EXPECT_TRUE(drive::WaitUntil([&] { return !IsWindow(box); }, seconds(3))) << "box " << i;
  }
  EXPECT_EQ(sim.WaitFor("msgbox_shown")->fields.at("text"), "Your session is about to end.");
}

TEST(FaultE2E, CrashLeavesNoWindowsBehind) {
  Sim sim;
  ASSERT_TRUE(sim.Ready());
  const HWND frame = sim.Frame();
  ASSERT_TRUE(sim.Control("msgbox"));
  ASSERT_TRUE(sim.WaitFor("msgbox_shown"));
  ASSERT_TRUE(sim.Crash());
  DWORD code = 0;
  GetExitCodeProcess(sim.Process(), &code);
  EXPECT_EQ(code, 3u);
  EXPECT_TRUE(drive::WaitUntil([&] {
    return !IsWindow(frame) && !FindWindowA("AOL Frame25", nullptr) && !FindWindowA("#32770", "America Online");
  }));
  Win32WindowSystem windows;
  EXPECT_EQ(zantic::FindChatRoom(windows), zantic::kNoWindow);
}

TEST(ControlE2E, CommandsItDoesNotUnderstandAreRefusedAndLogged) {
  Sim sim;
  ASSERT_TRUE(sim.Ready());
  for (const char* command : {"bogus", "say no tab", "hang -1", "flood 10 x"}) {
    EXPECT_FALSE(sim.Control(command)) << command;
    EXPECT_TRUE(sim.WaitFor("control_error", "command", command)) << command;
  }
  ASSERT_TRUE(sim.Control("close-room"));
  EXPECT_FALSE(sim.Say("Kim Lee", "no room to say it in"));
  EXPECT_FALSE(sim.Control("clear"));
}

}  // namespace

