// The real cross-process path: our Win32 adapter and chat-room operations against the
// stand-in running as another process under the real window system.
#include <gtest/gtest.h>

#include <chrono>

#include "aol/chat_room.h"
#include "core/announcement.h"
#include "platform/win32/window_system_win32.h"
#include "drive/sim.h"

namespace {

using drive::Event;
using drive::Sim;
using namespace std::chrono;

bool IsChat(const Event& e) { return e.event() == "chat"; }

TEST(ChatRoomE2E, CharactersTheCodePageLacksArriveAsItsDefaultCharacter) {
  Sim sim;
  ASSERT_TRUE(sim.Ready());
  zantic::win32::Win32WindowSystem windows;
  // e-acute is in the Western code page; l-stroke and the snowman are not.
  zantic::SendChatLine(windows, "caf\xC3\xA9 \xC5\x82\xE2\x98\x83!");
  auto posted = sim.WaitForEvent(IsChat);
  ASSERT_TRUE(posted);
  EXPECT_EQ((*posted)["text"], "caf\xC3\xA9 ??" "!");
}

TEST(ChatRoomE2E, NoClientMeansNothingHappensAtOnce) {
  zantic::win32::Win32WindowSystem windows;
  ASSERT_EQ(FindWindowA("AOL Frame25", nullptr), nullptr);
  const auto start = steady_clock::now();
  zantic::SendChatLine(windows, "into the void");
  EXPECT_EQ(zantic::GetScreenName(windows), "");
  EXPECT_LT(steady_clock::now() - start, milliseconds(100));
}

TEST(ChatRoomE2E, HungClientCostsOneBoundThenNothingUntilItAnswersAgain) {
  Sim sim;
  ASSERT_TRUE(sim.Ready());
  zantic::win32::Win32WindowSystem windows(1000);
  ASSERT_TRUE(sim.Control("hang 4"));
  ASSERT_TRUE(sim.WaitForEvent([](const Event& e) { return e["mode"] == "hang"; }));

  auto start = steady_clock::now();
  zantic::SendChatLine(windows, "lost one");
  const auto first = steady_clock::now() - start;
  EXPECT_GE(first, milliseconds(900));
  EXPECT_LT(first, milliseconds(1500)) << "the send gives up at its bound";

  start = steady_clock::now();
  zantic::SendChatLine(windows, "lost two");
  EXPECT_EQ(zantic::GetScreenName(windows), "");
  EXPECT_LT(steady_clock::now() - start, milliseconds(150)) << "while hung, sends give up at once";

  ASSERT_TRUE(sim.WaitForEvent([](const Event& e) { return e["state"] == "end"; }, 1, seconds(10)));
  drive::WaitUntil([&] { return zantic::GetScreenName(windows) == "Pat Doe"; }, seconds(5));
  zantic::SendChatLine(windows, "back again");
  ASSERT_TRUE(sim.WaitForEvent([](const Event& e) { return e["text"] == "back again"; }));
  for (auto& e : sim.ChatLines()) {
    EXPECT_NE(e["text"], "lost two") << "a send given up at once never reaches the client";
  }
}

}  // namespace
