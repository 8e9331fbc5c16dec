// The queue of messages to the AOL client, with a client that hangs and answers again, on
// a real second thread.
#include "aol/send_queue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "aol/chat_room.h"
#include "fakes/fake_desktop.h"

namespace zantic {
namespace {

using fakes::Char;
using fakes::FakeDesktop;
using fakes::Message;
using fakes::Sent;
using fakes::SetText;

// Waits (a little) until the queue's thread is inside the hung client.
void UntilStuck(FakeDesktop& d) {
  for (int i = 0; i < 2000 && d.WaitingSends() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(d.WaitingSends(), 1);
}

// Each line as the queue sends it: the empty message that waits for the client, the line
// (the draft read goes unlogged) and its Enter.
std::vector<Message> LinesSent(Hwnd entry, std::initializer_list<const char*> lines) {
  std::vector<Message> out;
  for (const char* line : lines) {
    out.push_back(Sent(entry, wm::kNull));
    out.push_back(SetText(entry, line));
    out.push_back(Char(entry, 13));
  }
  return out;
}

TEST(SendQueue, LinesQueuedDuringAHangGoOutWholeAndInOrderWhenTheClientAnswers) {
  FakeDesktop d;
  const auto c = d.AddClientWithRoom();
  SendQueue queue(d);
  d.Hang();
  SendChatLine(queue, "1 minute(s).");  // returns at once: the caller never waits
  UntilStuck(d);
  EXPECT_FALSE(queue.Drain(0.05)) << "a line on its way is not yet out";
  SendChatLine(queue, "rsn: lunch");
  SendChatLine(queue, "by vorn");
  EXPECT_TRUE(d.Log().empty()) << "nothing is begun inside the hang";
  EXPECT_FALSE(queue.Drain(0.05)) << "a drain waits its bound, no longer";
  d.Answer();
  ASSERT_TRUE(queue.Drain(5));
  EXPECT_EQ(d.Log(), LinesSent(c.entry, {"1 minute(s).", "rsn: lunch", "by vorn"}));
  EXPECT_EQ(queue.dropped(), 0u);
}

TEST(SendQueue, AFullQueueDropsItsOldestWaitingLinesAndCountsThem) {
  FakeDesktop d;
  const auto c = d.AddClientWithRoom();
  SendQueue queue(d, 3);
  d.Hang();
  SendChatLine(queue, "1");
  UntilStuck(d);  // "1" is on its way; 2 to 6 wait, and only three may
  for (const char* line : {"2", "3", "4", "5", "6"}) SendChatLine(queue, line);
  EXPECT_EQ(queue.dropped(), 2u);
  d.Answer();
  ASSERT_TRUE(queue.Drain(5));
  EXPECT_EQ(d.Log(), LinesSent(c.entry, {"1", "4", "5", "6"}));
}

TEST(SendQueue, AGroupForNoWindowIsNotQueued) {
  FakeDesktop d;
  SendQueue queue(d);
  bool ran = false;
  queue.Send(kNoWindow, [&](WindowSystem&) { ran = true; });
  EXPECT_TRUE(queue.Drain(5));
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace zantic
