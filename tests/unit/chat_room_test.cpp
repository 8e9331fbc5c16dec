#include "aol/chat_room.h"

#include <gtest/gtest.h>

#include "fakes/fake_desktop.h"

namespace zantic {
namespace {

using fakes::Char;
using fakes::FakeDesktop;
using fakes::Message;
using fakes::SetText;

// Adds an MDI child with direct children of the given classes, in order.
Hwnd AddChildWith(FakeDesktop& d, Hwnd mdi, std::vector<std::string> classes,
                  const std::string& caption = "room") {
  const Hwnd child = d.AddChild(mdi, "AOL Child", caption);
  for (auto& cls : classes) d.AddChild(child, cls);
  return child;
}

const std::vector<std::string> kRoomClasses = {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon",
                                               "_AOL_Static", "RICHCNTL"};

// What the user had typed into the entry box and not yet sent, and what the box receives.
struct DraftCase {
  const char* name;
  std::string draft;
  bool put_back;
};

class SendChatLineDraft : public testing::TestWithParam<DraftCase> {};

TEST_P(SendChatLineDraft, SetsTheLineSendsEnterAndPutsTheDraftBack) {
  FakeDesktop d;
  fakes::InlineClient aol(d);
  auto c = d.AddClientWithRoom();
  d.SetCaption(c.entry, GetParam().draft);
  SendChatLine(aol, "hello <b>room</b>");
  std::vector<Message> want = {SetText(c.entry, "hello <b>room</b>"), Char(c.entry, 13)};
  if (GetParam().put_back) {
    want.push_back(SetText(c.entry, GetParam().draft));
    want.push_back(fakes::Sent(c.entry, wm::kEmSetSel, 0x7FFFFFFF, 0x7FFFFFFF));  // caret at the end
  }
  EXPECT_EQ(d.Log(), want);
}

INSTANTIATE_TEST_SUITE_P(Drafts, SendChatLineDraft,
                         testing::Values(DraftCase{"None", "", false},
                                         DraftCase{"HalfASentence", "brb, my cat is ", true},
                                         DraftCase{"NonAscii", "caf\xC3\xA9 \xE2\x98\x83", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Each case builds a client, then checks which window (if any) received the line.
struct RoomCase {
  const char* name;
  std::function<Hwnd(FakeDesktop&)> build;  // returns the expected entry box, or 0
};

class ChatRoomLookup : public testing::TestWithParam<RoomCase> {};

TEST_P(ChatRoomLookup, LineGoesToTheFirstQualifyingRoomOnly) {
  FakeDesktop d;
  fakes::InlineClient aol(d);
  const Hwnd expected_box = GetParam().build(d);
  SendChatLine(aol, "x");
  if (expected_box == kNoWindow) {
    EXPECT_TRUE(d.Log().empty()) << "nothing may be sent";
  } else {
    EXPECT_EQ(d.Log(), (std::vector<Message>{SetText(expected_box, "x"), Char(expected_box, 13)}));
  }
}

Hwnd EntryOf(FakeDesktop& d, Hwnd room) {
  return d.FindWindowExA(room, d.FindWindowExA(room, 0, "RICHCNTL", {}), "RICHCNTL", {});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChatRoomLookup,
    testing::Values(
        RoomCase{"NoClient", [](FakeDesktop&) { return kNoWindow; }},
        RoomCase{"NoMdiClient",
                 [](FakeDesktop& d) {
                   d.AddTopLevel("AOL Frame25");
                   return kNoWindow;
                 }},
        RoomCase{"TwoRoomsFirstInChildOrderWins",
                 [](FakeDesktop& d) {
                   const Hwnd mdi = d.AddChild(d.AddTopLevel("AOL Frame25"), "MDIClient");
                   const Hwnd a = AddChildWith(d, mdi, kRoomClasses, "a");
                   const Hwnd b = AddChildWith(d, mdi, kRoomClasses, "b");
                   d.BringToFront(b);
                   (void)a;
                   return EntryOf(d, b);
                 }},
        RoomCase{"RoomIsThirdChild",
                 [](FakeDesktop& d) {
                   const Hwnd mdi = d.AddChild(d.AddTopLevel("AOL Frame25"), "MDIClient");
                   d.AddChild(mdi, "AOL Child", "Welcome, Pat!");
                   AddChildWith(d, mdi, {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon"});
                   return EntryOf(d, AddChildWith(d, mdi, kRoomClasses));
                 }},
        RoomCase{"MissingStaticIsPassedOver",
                 [](FakeDesktop& d) {
                   const Hwnd mdi = d.AddChild(d.AddTopLevel("AOL Frame25"), "MDIClient");
                   AddChildWith(d, mdi, {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "RICHCNTL"});
                   return kNoWindow;
                 }},
        RoomCase{"StaticAsGrandchildDoesNotCount",
                 [](FakeDesktop& d) {
                   const Hwnd mdi = d.AddChild(d.AddTopLevel("AOL Frame25"), "MDIClient");
                   const Hwnd room =
                       AddChildWith(d, mdi, {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "RICHCNTL"});
                   d.AddChild(d.AddChild(room, "_AOL_Icon"), "_AOL_Static");
                   return kNoWindow;
                 }},
        RoomCase{"ClassesInAnyOrder",
                 [](FakeDesktop& d) {
                   const Hwnd mdi = d.AddChild(d.AddTopLevel("AOL Frame25"), "MDIClient");
                   return EntryOf(d, AddChildWith(d, mdi, {"_AOL_Static", "RICHCNTL", "_AOL_Icon",
                                                           "RICHCNTL", "_AOL_Listbox"}));
                 }},
        RoomCase{"SingleRichTextHasNoEntryBox",
                 [](FakeDesktop& d) {
                   const Hwnd mdi = d.AddChild(d.AddTopLevel("AOL Frame25"), "MDIClient");
                   AddChildWith(d, mdi, {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"});
                   return kNoWindow;
                 }},
        RoomCase{"RoomOfASecondFrameIsNotSeen",
                 [](FakeDesktop& d) {
                   d.AddTopLevel("AOL Frame25");
                   const Hwnd mdi = d.AddChild(d.AddTopLevel("AOL Frame25"), "MDIClient");
                   AddChildWith(d, mdi, kRoomClasses);
                   return kNoWindow;
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

struct CaptionCase {
  std::vector<std::string> captions;  // MDI children in child order
  std::string expected;
};

class ScreenName : public testing::TestWithParam<CaptionCase> {};

TEST_P(ScreenName, IsCutFromTheFirstWelcomeCaption) {
  FakeDesktop d;
  const Hwnd mdi = d.AddChild(d.AddTopLevel("AOL Frame25"), "MDIClient");
  for (auto& caption : GetParam().captions) d.AddChild(mdi, "AOL Child", caption);
  EXPECT_EQ(GetScreenName(d), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, ScreenName,
    testing::Values(CaptionCase{{"Welcome, Pat Doe!"}, "Pat Doe"},
                    CaptionCase{{"Welcome, !"}, ""},
                    CaptionCase{{"Welcome, a!b!"}, "a"},
                    CaptionCase{{"Welcome, Pat !"}, "Pat "},
                    CaptionCase{{"Lobby", "Buddy List", "Welcome, Kim!"}, "Kim"},
                    CaptionCase{{"welcome, Pat!"}, ""},
                    CaptionCase{{"Hello. Welcome, Pat!"}, ""},
                    CaptionCase{{"Welcome, Pat"}, ""},
                    CaptionCase{{"Welcome, Pat", "Welcome, Kim!"}, ""},
                    CaptionCase{{}, ""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(ScreenName, NoClientGivesEmptyText) {
  FakeDesktop d;
  EXPECT_EQ(GetScreenName(d), "");
}

TEST(GetWindowTextString, PadsToTheReportedLengthWithNul) {
  FakeDesktop d;
  const Hwnd w = d.AddTopLevel("X", "abc");
  EXPECT_EQ(GetWindowTextString(d, w), "abc");
  d.ReportLength(w, 5);
  EXPECT_EQ(GetWindowTextString(d, w), std::string("abc\0\0", 5));
  EXPECT_EQ(GetWindowTextString(d, kNoWindow), "");
}

}  // namespace
}  // namespace zantic
