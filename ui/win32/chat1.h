// Chat1, the chat scanner behind the main window: a thread of its own ticks at RoomScanner's
// pace (RoomScanner decides when to tick and look, what it reads and what is new) and hands the new lines
// to the user-interface thread by posting a message to the main window, so reports
// arrive like any other window event (also inside pauses). Reading another program's
// window can block while that program hangs: it happens on this thread, never on the
// user-interface thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "aol/room_scanner.h"
#include "ui/chat_scanner.h"
#include "ui/form1.h"

namespace zantic::win32 {

class Chat1 final : public ChatScanner {
 public:
  // New lines are announced by posting `message` to `window`; its handler calls TakeLines.
  Chat1(HWND window, UINT message);
  ~Chat1() override;
  Chat1(const Chat1&) = delete;
  Chat1& operator=(const Chat1&) = delete;

  void StartScanning() override;
  // Whether the first look, which takes what the room holds as history, is done.
  bool HasLooked() const { return looks_ > 0; }
  // Looks done so far.
  unsigned Looks() const { return looks_; }
  // The lines reported since the last call, in order.
  std::vector<ChatLineReport> TakeLines();

 private:
  static DWORD WINAPI Worker(void* self);
  void Run();

  HWND window_;
  UINT message_;
  std::atomic<bool> stop_{false};
  std::atomic<unsigned> looks_{0};
  HANDLE thread_ = nullptr;
  std::mutex mutex_;
  std::vector<ChatLineReport> pending_;
  bool announced_ = false;  // a message is on its way and the lines not yet taken
};

// The scanner's inbox on the user-interface thread: at each announcement (kChatLineMessage
// to the main window) it takes the lines reported since, and hands them to the logic's
// Chat1_ChatLine one at a time, in order. A handler that pumps events and meets the next
// announcement goes on with the following lines, so the order holds.
class ChatInbox {
 public:
  // `take_lines`: the lines reported since the last call (Chat1::TakeLines).
  explicit ChatInbox(std::function<std::vector<ChatLineReport>()> take_lines) : take_lines_(std::move(take_lines)) {}
  // Lines that come while there is no logic yet are dropped.
  void Deliver(Form1* logic);

 private:
  std::function<std::vector<ChatLineReport>()> take_lines_;
  std::deque<ChatLineReport> lines_;
};

}  // namespace zantic::win32
