#include "ui/win32/chat1.h"

#include <iterator>

#include "platform/win32/system_services_win32.h"
#include "platform/win32/window_system_win32.h"

namespace zantic::win32 {

Chat1::Chat1(HWND window, UINT message) : window_(window), message_(message) {}

Chat1::~Chat1() {
  if (!thread_) return;
  stop_ = true;
  // A thread stuck in a hung client's window is left to the end of the process.
  WaitForSingleObject(thread_, 500);
  CloseHandle(thread_);
}

void Chat1::StartScanning() {
  if (!thread_) thread_ = CreateThread(nullptr, 0, &Chat1::Worker, this, 0, nullptr);
}

DWORD WINAPI Chat1::Worker(void* self) {
  static_cast<Chat1*>(self)->Run();
  return 0;
}

void Chat1::Run() {
  Win32WindowSystem windows;  // this thread's own: it keeps what it learnt of the room
  Win32UserInput input;
  RoomScanner scanner(windows);
  scanner.Look();  // what the room holds now is history
  ++looks_;
  // Sleep, not a wait on an event the main thread could set when the user touches our
  // window: under Wine a sleep stays in the process, where a wait is one more round trip
  // to the wineserver at every look (two wakeups instead of one), and what the user types
  // into the client, the input that matters here, never reaches our window anyway.
  for (;;) {
    Sleep(scanner.NextTickMs());
    if (stop_) return;
    auto lines = scanner.Tick(input.TickMs(), input.LastInputTickMs());
    ++looks_;
    if (lines.empty()) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.insert(pending_.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    if (!announced_) {
      announced_ = true;
      PostMessageW(window_, message_, 0, 0);
    }
  }
}

std::vector<ChatLineReport> Chat1::TakeLines() {
  std::lock_guard<std::mutex> lock(mutex_);
  announced_ = false;
  return std::move(pending_);
}

void ChatInbox::Deliver(Form1* logic) {
  for (auto& line : take_lines_()) lines_.push_back(std::move(line));
  while (!lines_.empty()) {
    const ChatLineReport line = std::move(lines_.front());
    lines_.pop_front();
    if (logic) logic->Chat1_ChatLine(line.speaker, line.text);
  }
}

}  // namespace zantic::win32
