// The chat scanner hosted on the main window as Chat1 (ui/win32/chat1.h); the lines it
// reports reach Form1::Chat1_ChatLine.
#pragma once

namespace zantic {

class ChatScanner {
 public:
  virtual ~ChatScanner() = default;
  // From now on every new line of the chat room is reported, with its speaker, on the
  // user-interface thread.
  virtual void StartScanning() = 0;
};

}  // namespace zantic
