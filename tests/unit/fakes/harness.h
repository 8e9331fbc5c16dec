// The whole program's logic wired to fakes: an AOL client with a chat room on an in-memory
// desktop, a virtual clock, a settings file in memory, and the main window's controls.
#pragma once

#include <string>
#include <vector>

#include "fakes/fake_desktop.h"
#include "fakes/fake_ports.h"
#include "fakes/virtual_clock.h"
#include "ui/form1.h"

namespace zantic::fakes {

struct PostedLine {
  double at;
  std::string text;
};

class Harness {
 public:
  Harness();

  Journal journal;
  FakeDesktop desktop;
  FakeOwnWindow own_window;
  FakeDesktop::Client client;
  InlineClient aol{desktop};
  VirtualClock clock;
  FakeFiles files{&journal};
  Latin1CodePage code_page;
  ProfileFile profile{files, code_page};
  FakeMessageBoxes boxes{&journal};
  FakeProcess process{&journal};
  FakeForm form{&journal};
  FakeScanner scanner{&journal};
  FakeTray tray;
  FakeDigestView digest_view;
  FakeInput input{[this] { return clock.Now(); }};
  FakeTimer timer{clock};
  Ports ports{own_window, aol, clock, profile, boxes, process, form, scanner, tray, digest_view, input, timer};
  Form1 form1{ports};

  // Every line posted into the room, with the virtual time it was sent.
  std::vector<PostedLine> lines;
  std::vector<std::string> LineTexts() const;

  // A click on a label at virtual time t (it runs inside whatever pause is going on then).
  void ClickAt(double t, Control label);
  // Runs the journal entries noted from now on through `body`, and returns them.
  Journal Record(const std::function<void()>& body);
  // The settings file beside the program; nothing when there is none.
  std::optional<std::string> SettingsText();
  // Stores a handle as a previous "set" would have (or a hand-written file: `file`).
  void StoreHandle(const std::string& handle);
  void WriteSettings(const std::string& file);
};

}  // namespace zantic::fakes
