// Every port the main window's logic uses: the operating system's (platform/ports.h), the
// AOL client's, and the window's own interfaces (its controls, the digest's window, the
// chat scanner it hosts).
#pragma once

#include "aol/client.h"
#include "core/profile_file.h"
#include "core/settings.h"
#include "platform/ports.h"
#include "ui/chat_scanner.h"
#include "ui/digest_view.h"
#include "ui/form_controls.h"

namespace zantic {

struct Ports {
  OwnWindow& own_window;  // the main window on the screen: its stacking and its moves
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

  // The settings file beside the program.
  SettingsStore settings() const { return {profile, process}; }
};

}  // namespace zantic
