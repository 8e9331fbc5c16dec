// Every port the program's logic uses, handed to the main window's handlers.
#pragma once

#include "aol/client.h"
#include "core/profile_file.h"
#include "platform/ports.h"

namespace zantic {

struct Ports {
  WindowSystem& windows;  // the program's own main window: its stacking and its moves
  AolClient& aol;         // the AOL client's windows and the queue of messages to them
  EventLoop& events;
  ProfileFile& profile;
  MessageBoxes& boxes;
  Process& process;
  FormControls& form;
  ChatScanner& chat1;
  // What the program has beside the window: its tray icon, the window of the room's digest,
  // and the time of the user's last input.
  TrayIcon& tray;
  DigestView& digest_view;
  UserInput& input;
  CheckTimer& timer;  // the auto-idle checks, while no run is under way
};

}  // namespace zantic
