// The queue of messages to the AOL client, with a client that hangs and answers again, on
// a real second thread.
#include "aol/send_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

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

// The queue's clock, moved by the test: while the client hangs, or to the time the queue
// waits for, never while a group goes out.
class HandClock final : public SendQueue::Clock {
 public:
  std::atomic<double> now{0}, waits_for{0};
  double Now() override { return now; }
  void WaitUntil(double until, std::condition_variable& wake, std::unique_lock<std::mutex>& lock) override {
    waits_for = until;
    wake.wait_for(lock, std::chrono::milliseconds(1));
  }
  // Lets the queue send all it holds, moving on to each time it waits for.
  void RunOut(SendQueue& queue) {
    while (!queue.Drain(0.002)) {
      if (waits_for > now) now = waits_for.load();
    }
  }
};

// Lines said into a hang: a minute step that a later one superseded is dropped, waiting or
// on its way; the rest goes out whole and in order, a line every 0.7 s, and so does a line
// queued right after; later lines go at once again.
TEST(SendQueue, AfterAHangTheLinesGoOutInOrderALineAtATimeTheLatestMinuteStepOnly) {
  FakeDesktop d;
  const auto c = d.AddClientWithRoom();
  HandClock clock;
  SendQueue queue(d, SendQueue::kCapacity, clock);
  std::vector<double> entered;
  d.on_message = [&](const Message& m) {
    if (m.msg == wm::kChar) entered.push_back(clock.now);
  };
  d.Hang();
  SendChatLine(queue, "minute 1", {7, 1});  // returns at once; on its way, its empty message out
  UntilStuck(d);
  for (auto [line, step] : {std::pair<const char*, AolClient::Step>{"reason 1", {7, 1}}, {"credit", {}}, {"web", {}},
                            {"minute 1 of run 8", {8, 1}}, {"minute 2", {7, 2}}, {"reason 2", {7, 2}}}) {
    SendChatLine(queue, line, step);
  }
  EXPECT_TRUE(d.Log().empty()) << "nothing is begun inside the hang";
  EXPECT_FALSE(queue.Drain(0.05)) << "a drain waits its bound, no longer";
  EXPECT_EQ(queue.superseded(), 1u) << "reason 1, waiting";
  clock.now = 75;
  d.Answer();
  clock.RunOut(queue);
  EXPECT_EQ(queue.superseded(), 2u) << "and minute 1, once the client answered its empty message";
  SendChatLine(queue, "off-idle");
  clock.RunOut(queue);
  clock.now = 100;
  SendChatLine(queue, "later");
  SendChatLine(queue, "at once");
  clock.RunOut(queue);
  std::vector<Message> want = LinesSent(c.entry, {"credit", "web", "minute 1 of run 8", "minute 2", "reason 2", "off-idle", "later", "at once"});
  want.insert(want.begin(), Sent(c.entry, wm::kNull));
  EXPECT_EQ(d.Log(), want);
  const std::vector<double> at = {75, 75.7, 76.4, 77.1, 77.8, 78.5, 100, 100};
  ASSERT_EQ(entered.size(), at.size());
  for (std::size_t i = 0; i < at.size(); ++i) EXPECT_NEAR(entered[i], at[i], 1e-9) << i;
  EXPECT_EQ(queue.dropped(), 0u);
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
