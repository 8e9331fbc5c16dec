// The real cross-process path: our Win32 adapter and chat-room operations against the
// stand-in running as another process under the real window system.
#include <gtest/gtest.h>


#include "aol/chat_room.h"
#include "aol/send_queue.h"
#include "core/announcement.h"
#include "platform/win32/window_system_win32.h"
#include "drive/sim.h"

namespace {

using drive::Event;
using drive::Sim;

bool IsChat(const Event& e) { return e.event() == "chat"; }

TEST(ChatRoomE2E, CharactersTheCodePageLacksArriveAsItsDefaultCharacter) {
  Sim sim;
  ASSERT_TRUE(sim.Ready());
  zantic::win32::Win32WindowSystem windows;
  zantic::SendQueue aol(windows);
  // e-acute is in the Western code page; l-stroke and the snowman are not.
  zantic::SendChatLine(aol, "caf\xC3\xA9 \xC5\x82\xE2\x98\x83!");
  auto posted = sim.WaitForEvent(IsChat);
  ASSERT_TRUE(posted);
  EXPECT_EQ((*posted)["text"], "caf\xC3\xA9 ??" "!");
}

}  // namespace
