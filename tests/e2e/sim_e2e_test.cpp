// The stand-in as the program meets it: its window tree answers the program's lookups as
// the native tests' fake desktop does, and lines from another process arrive byte for byte
// and are shown as the client shows them.
#include <gtest/gtest.h>

#include <chrono>

#include "aol/chat_room.h"
#include "aol/send_queue.h"
#include "core/announcement.h"
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
  std::string room;         // the room the program finds
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
  auto line = sim.WaitForChat("probe");
  ASSERT_TRUE(line);
  EXPECT_EQ((*line)["room"], c.room);
}

INSTANTIATE_TEST_SUITE_P(
    StartStatesAndControls, LookupE2E,
    testing::Values(
        LookupCase{"Default", L"", {}, "Lobby 12", "Pat Doe"},
        LookupCase{"SecondRoomInFront", L"", {"open-room front Side Room"}, "Side Room", "Pat Doe"},
        LookupCase{"FirstRoomClosed", L"", {"open-room back Side Room", "close-room"}, "Side Room", "Pat Doe"},
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
  std::string arrives = {};  // the text as the room receives it, when it is not `text`
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

  auto line = sim.WaitForChat(c.arrives.empty() ? c.text : c.arrives);
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
        // Characters the code page lacks arrive as its default character (e-acute it has).
        LineCase{"OutsideTheCodePage", "caf\xC3\xA9 \xC5\x82\xE2\x98\x83!", "Pat Doe:\tcaf\xC3\xA9 ??" "!", "",
                 "caf\xC3\xA9 ??" "!"},
        LineCase{"HundredThousandCharacters", std::string(100000, 'x'),
                 "Pat Doe:\t" + std::string(8192, 'x')},
        LineCase{"HundredThousandOfUnfinishedMarkup", UnfinishedMarkup(),
                 "Pat Doe:\t" + UnfinishedMarkup().substr(0, 8192)},
        // Beyond the code page: a character outside the basic plane, the Unicode line and
        // paragraph separators, next line, control characters.
        LineCase{"UnicodeBreaksAndControls", "\xF0\x9F\x98\x80|\xE2\x80\xA8|\xE2\x80\xA9|\xC2\x85|\x01\x7F|\t|\xC3\xA9",
                 "Kim Lee:\t\xF0\x9F\x98\x80| | | |  |\t|\xC3\xA9", "Kim Lee"}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

}  // namespace

