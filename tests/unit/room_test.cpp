// The chat room from outside: finding it and the screen name, posting a line into it, and
// following its transcript (the chat scanner's decisions).
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <random>

#include "aol/chat_room.h"
#include "aol/room_scanner.h"
#include "aol/transcript.h"
#include "fakes/fake_desktop.h"

namespace zantic {
namespace {

using fakes::Char;
using fakes::FakeDesktop;
using fakes::Message;
using fakes::SetText;

// --- Finding the room and posting a line -------------------------------------------------

// An MDI child with direct children of the given classes, in order.
Hwnd AddChildWith(FakeDesktop& d, Hwnd mdi, std::vector<std::string> classes, const std::string& caption = "room") {
  const Hwnd child = d.AddChild(mdi, "AOL Child", caption);
  for (auto& cls : classes) d.AddChild(child, cls);
  return child;
}

const std::vector<std::string> kRoom = {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static", "RICHCNTL"};

Hwnd EntryOf(FakeDesktop& d, Hwnd room) { return d.FindWindowExA(room, d.FindWindowExA(room, 0, "RICHCNTL", {}), "RICHCNTL", {}); }

Hwnd NewMdi(FakeDesktop& d) { return d.AddChild(d.AddTopLevel("AOL Frame25"), "MDIClient"); }

// Each builds a client and returns the entry box the line must reach (0: none).
struct RoomCase {
  const char* name;
  std::function<Hwnd(FakeDesktop&)> build;
};

class ChatRoomLookup : public testing::TestWithParam<RoomCase> {};

TEST_P(ChatRoomLookup, TheLineGoesToTheFirstQualifyingRoomOnly) {
  FakeDesktop d;
  fakes::InlineClient aol(d);
  const Hwnd expected = GetParam().build(d);
  SendChatLine(aol, "x");
  std::vector<Message> want;
  if (expected) want = {SetText(expected, "x"), Char(expected, 13)};
  EXPECT_EQ(d.Log(), want);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ChatRoomLookup,
    testing::Values(
        RoomCase{"NoClient", [](FakeDesktop&) { return kNoWindow; }},
        RoomCase{"NoMdiClient", [](FakeDesktop& d) { d.AddTopLevel("AOL Frame25"); return kNoWindow; }},
        RoomCase{"TwoRoomsFirstInChildOrderWins",
                 [](FakeDesktop& d) {
                   const Hwnd mdi = NewMdi(d);
                   AddChildWith(d, mdi, kRoom, "a");
                   const Hwnd b = AddChildWith(d, mdi, kRoom, "b");
                   d.BringToFront(b);
                   return EntryOf(d, b);
                 }},
        RoomCase{"RoomIsThirdChild",
                 [](FakeDesktop& d) {
                   const Hwnd mdi = NewMdi(d);
                   d.AddChild(mdi, "AOL Child", "Welcome, Pat!");
                   AddChildWith(d, mdi, {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon"});
                   return EntryOf(d, AddChildWith(d, mdi, kRoom));
                 }},
        RoomCase{"StaticAsGrandchildDoesNotCount",
                 [](FakeDesktop& d) {
                   const Hwnd room = AddChildWith(d, NewMdi(d), {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "RICHCNTL"});
                   d.AddChild(d.AddChild(room, "_AOL_Icon"), "_AOL_Static");
                   return kNoWindow;
                 }},
        RoomCase{"ClassesInAnyOrder",
                 [](FakeDesktop& d) {
                   return EntryOf(d, AddChildWith(d, NewMdi(d), {"_AOL_Static", "RICHCNTL", "_AOL_Icon", "RICHCNTL", "_AOL_Listbox"}));
                 }},
        RoomCase{"SingleRichTextHasNoEntryBox",
                 [](FakeDesktop& d) {
                   AddChildWith(d, NewMdi(d), {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"});
                   return kNoWindow;
                 }},
        RoomCase{"RoomOfASecondFrameIsNotSeen",
                 [](FakeDesktop& d) {
                   d.AddTopLevel("AOL Frame25");
                   AddChildWith(d, NewMdi(d), kRoom);
                   return kNoWindow;
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

// What the user had typed into the entry box and not yet sent comes back after the line,
// caret at its end, exactly as the box held it; the line itself passes the ANSI code page.
struct DraftCase {
  const char* name;
  bool ansi_box;
  std::string draft;  // what the user typed (an ANSI box keeps only the code page of it)
  std::string line, line_arrives, draft_back;
};

class Draft : public testing::TestWithParam<DraftCase> {};

TEST_P(Draft, ComesBackAsTheBoxHeldIt) {
  const DraftCase& c = GetParam();
  FakeDesktop d;
  fakes::InlineClient aol(d);
  const auto client = d.AddClientWithRoom();
  if (c.ansi_box) d.MakeAnsi(client.entry);
  d.SetCaption(client.entry, c.draft);
  SendChatLine(aol, c.line);
  std::vector<Message> want = {SetText(client.entry, c.line_arrives), Char(client.entry, 13)};
  if (!c.draft_back.empty()) {
    want.push_back(SetText(client.entry, c.draft_back));
    want.push_back(fakes::Sent(client.entry, wm::kEmSetSel, 0x7FFFFFFF, 0x7FFFFFFF));
  }
  EXPECT_EQ(d.Log(), want);
}

// An e-acute is in the fake code page; a snowman and an l-stroke are not.
INSTANTIATE_TEST_SUITE_P(
    Boxes, Draft,
    testing::Values(
        DraftCase{"NoDraftNothingPutBack", false, "", "hello <b>room</b>", "hello <b>room</b>", ""},
        DraftCase{"UnicodeBoxKeepsADraftOutsideTheCodePage", false, "caf\xC3\xA9 \xE2\x98\x83 \xC5\x82 ", "hi",
                  "hi", "caf\xC3\xA9 \xE2\x98\x83 \xC5\x82 "},
        DraftCase{"AnsiBoxGetsItsOwnBytesBack", true, "caf\xC3\xA9 \xE2\x98\x83 \xC5\x82 ", "hi", "hi",
                  "caf\xC3\xA9 ? ? "},
        DraftCase{"TheLineStillPassesTheCodePage", false, "brb", "snow \xE2\x98\x83", "snow ?", "brb"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenName, IsCutFromTheFirstWelcomeCaption) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"Welcome, Pat Doe!"}, "Pat Doe"}, {{"Welcome, !"}, ""}, {{"Welcome, a!b!"}, "a"}, {{"Welcome, Pat !"}, "Pat "},
      {{"Lobby", "Buddy List", "Welcome, Kim!"}, "Kim"}, {{"welcome, Pat!"}, ""}, {{"Hello. Welcome, Pat!"}, ""},
      {{"Welcome, Pat", "Welcome, Kim!"}, ""}, {{}, ""}};
  for (const auto& [captions, expected] : cases) {
    FakeDesktop d;
    const Hwnd mdi = NewMdi(d);
    for (auto& caption : captions) d.AddChild(mdi, "AOL Child", caption);
    EXPECT_EQ(GetScreenName(d), expected) << (captions.empty() ? "" : captions.back());
  }
  FakeDesktop none;
  EXPECT_EQ(GetScreenName(none), "");
}

TEST(GetWindowTextString, PadsToTheReportedLengthWithNul) {
  FakeDesktop d;
  const Hwnd w = d.AddTopLevel("X", "ab\xC3\xA9");
  EXPECT_EQ(GetWindowTextString(d, w), "ab\xC3\xA9") << "a character is one, whatever its bytes";
  d.ReportLength(w, 5);
  EXPECT_EQ(GetWindowTextString(d, w), std::string("ab\xC3\xA9\0\0", 6));
  d.ReportLength(w, 2);
  EXPECT_EQ(GetWindowTextString(d, w), "ab") << "no more than the reported length";
  EXPECT_EQ(GetWindowTextString(d, kNoWindow), "");
}

// --- Which room the scanner reads ----------------------------------------------------------

// A change to a client whose Welcome window stands before its room, and how many looks the
// watch may take to agree with a full search again.
struct WatchCase {
  const char* name;
  std::function<void(FakeDesktop&, FakeDesktop::Client&)> change;
  int within;
};

class Watch : public testing::TestWithParam<WatchCase> {};

TEST_P(Watch, AgreesWithAFullSearchSoonAndQuietLooksCostAlmostNothing) {
  FakeDesktop d;
  auto client = d.AddClientWithRoom();
  ChatRoomWatch watch;
  ASSERT_EQ(watch.Find(d), client.room);
  const int before = d.lookups;
  for (int i = 1; i < ChatRoomWatch::kLooksPerSearch; ++i) ASSERT_EQ(watch.Find(d), client.room);
  EXPECT_EQ(d.lookups - before, (ChatRoomWatch::kLooksPerSearch - 1) / ChatRoomWatch::kLooksPerCheck);
  GetParam().change(d, client);
  const Hwnd expected = FindChatRoom(d);
  int looks = 1;
  while (watch.Find(d) != expected && looks <= 2 * ChatRoomWatch::kLooksPerSearch) ++looks;
  EXPECT_LE(looks, GetParam().within);
  for (int i = 0; i < 2 * ChatRoomWatch::kLooksPerSearch; ++i) EXPECT_EQ(watch.Find(d), expected);
}

Hwnd AddRoom(FakeDesktop& d, Hwnd mdi) { return AddChildWith(d, mdi, kRoom, "Room 2"); }
Hwnd FirstChild(FakeDesktop& d, Hwnd mdi) { return d.FindWindowExA(mdi, kNoWindow, "AOL Child", std::nullopt); }
constexpr int kCheck = ChatRoomWatch::kLooksPerCheck, kSearch = ChatRoomWatch::kLooksPerSearch;

INSTANTIATE_TEST_SUITE_P(
    Changes, Watch,
    testing::Values(
        WatchCase{"Nothing", [](FakeDesktop&, FakeDesktop::Client&) {}, 1},
        WatchCase{"RoomOpenedInFront", [](FakeDesktop& d, auto& c) { d.BringToFront(AddRoom(d, c.mdi)); }, kCheck},
        WatchCase{"OtherWindowOpenedInFront",
                  [](FakeDesktop& d, auto& c) { d.BringToFront(d.AddChild(c.mdi, "AOL Child", "Send Instant Message")); },
                  kCheck},
        WatchCase{"WelcomeClosed", [](FakeDesktop& d, auto& c) { d.Destroy(FirstChild(d, c.mdi)); }, kCheck},
        WatchCase{"ClientRestarted", [](FakeDesktop& d, auto& c) { d.Destroy(c.frame), d.AddClientWithRoom(); }, kCheck},
        // Behind the unchanged Welcome window: found by the next full search.
        WatchCase{"RoomClosedBehind", [](FakeDesktop& d, auto& c) { d.Destroy(c.room); }, kSearch},
        WatchCase{"RoomOpenedBehindWhenNoneWasOpen",
                  [](FakeDesktop& d, auto& c) { d.Destroy(c.room), AddRoom(d, c.mdi); }, kSearch}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zantic
