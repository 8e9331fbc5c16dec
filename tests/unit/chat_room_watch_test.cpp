#include <gtest/gtest.h>

#include <functional>

#include "aol/chat_room.h"
#include "fakes/fake_desktop.h"

namespace zantic {
namespace {

using fakes::FakeDesktop;

struct CountingDesktop : FakeDesktop {
  int lookups = 0;
  Hwnd FindWindowA(std::string_view cls, std::optional<std::string_view> caption) override {
    ++lookups;
    return FakeDesktop::FindWindowA(cls, caption);
  }
  Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view cls,
                     std::optional<std::string_view> caption) override {
    ++lookups;
    return FakeDesktop::FindWindowExA(parent, after, cls, caption);
  }
};

Hwnd AddRoom(FakeDesktop& d, Hwnd mdi) {
  const Hwnd room = d.AddChild(mdi, "AOL Child", "Room 2");
  for (const char* cls : {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static", "RICHCNTL"}) d.AddChild(room, cls);
  return room;
}

// A client whose Welcome window stands before its room; a change to it; how many looks
// the watch may take to agree with a full search again (1: at once).
struct WatchCase {
  const char* name;
  std::function<void(FakeDesktop&, FakeDesktop::Client&)> change;
  int within;
};

class ChatRoomWatchTest : public testing::TestWithParam<WatchCase> {};

TEST_P(ChatRoomWatchTest, AgreesWithAFullSearch) {
  CountingDesktop d;
  auto client = d.AddClientWithRoom();
  ChatRoomWatch watch;
  ASSERT_EQ(watch.Find(d), client.room);
  d.lookups = 0;
  for (int i = 1; i < ChatRoomWatch::kLooksPerSearch; ++i) ASSERT_EQ(watch.Find(d), client.room);
  EXPECT_EQ(d.lookups, (ChatRoomWatch::kLooksPerSearch - 1) / ChatRoomWatch::kLooksPerCheck)
      << "quiet looks cost nothing but one lookup now and then";

  GetParam().change(d, client);
  const Hwnd expected = FindChatRoom(d);
  int looks = 1;
  while (watch.Find(d) != expected && looks <= 2 * ChatRoomWatch::kLooksPerSearch) ++looks;
  EXPECT_LE(looks, GetParam().within);
  for (int i = 0; i < 2 * ChatRoomWatch::kLooksPerSearch; ++i) EXPECT_EQ(watch.Find(d), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChatRoomWatchTest,
    testing::Values(
        WatchCase{"Nothing", [](FakeDesktop&, FakeDesktop::Client&) {}, 1},
        WatchCase{"RoomOpenedInFront",
                  [](FakeDesktop& d, FakeDesktop::Client& c) { d.BringToFront(AddRoom(d, c.mdi)); },
                  ChatRoomWatch::kLooksPerCheck},
        WatchCase{"OtherWindowOpenedInFront",
                  [](FakeDesktop& d, FakeDesktop::Client& c) {
                    d.BringToFront(d.AddChild(c.mdi, "AOL Child", "Send Instant Message"));
                  },
                  ChatRoomWatch::kLooksPerCheck},
        WatchCase{"WelcomeClosed",
                  [](FakeDesktop& d, FakeDesktop::Client& c) {
                    d.Destroy(d.FindWindowExA(c.mdi, kNoWindow, "AOL Child", std::nullopt));
                  },
                  ChatRoomWatch::kLooksPerCheck},
        WatchCase{"ClientRestarted",
                  [](FakeDesktop& d, FakeDesktop::Client& c) {
                    d.Destroy(c.frame);
                    d.AddClientWithRoom();
                  },
                  ChatRoomWatch::kLooksPerCheck},
        // Behind the unchanged Welcome window: found by the next full search.
        WatchCase{"RoomClosedBehind",
                  [](FakeDesktop& d, FakeDesktop::Client& c) { d.Destroy(c.room); },
                  ChatRoomWatch::kLooksPerSearch},
        WatchCase{"RoomOpenedBehindWhenNoneWasOpen",
                  [](FakeDesktop& d, FakeDesktop::Client& c) {
                    d.Destroy(c.room);
                    AddRoom(d, c.mdi);
                  },
                  ChatRoomWatch::kLooksPerSearch}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChatRoomWatch, SearchesInFullAfterForget) {
  FakeDesktop d;
  auto client = d.AddClientWithRoom();
  ChatRoomWatch watch;
  ASSERT_EQ(watch.Find(d), client.room);
  d.Destroy(client.room);
  const Hwnd second = AddRoom(d, client.mdi);
  watch.Forget();
  EXPECT_EQ(watch.Find(d), second);
}

}  // namespace
}  // namespace zantic
