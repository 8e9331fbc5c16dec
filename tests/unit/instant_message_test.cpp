// Keywords and instant messages against a scripted client on the virtual clock.
#include <gtest/gtest.h>

#include "aol/instant_message.h"
#include "fakes/fake_desktop.h"
#include "fakes/virtual_clock.h"

namespace zantic {
namespace {

using fakes::FakeDesktop;
using fakes::Message;
using fakes::Posted;
using fakes::Sent;
using fakes::VirtualClock;

// How the scripted client answers the keyword and the click on Send.
struct ClientScript {
  double open_after = 0.3;  // <0: the window never opens
  int icons = 12;
  double textbox_after = 0;  // the message box child appears this long after the window
  enum Outcome { Closes, ShowsBox, Nothing } outcome = Closes;
  bool box_already_open = false;
  bool close_window_with_box = false;  // the window is gone by the time the box shows
};

struct ImClient {
  FakeDesktop d;
  VirtualClock clock;
  const FakeDesktop::Client client = d.AddClientWithRoom();
  const Hwnd mdi = client.mdi, keyword_box = client.keyword;
  Hwnd window = 0, textbox = 0, ninth = 0, box = 0, ok = 0;
  std::vector<Hwnd> icons;

  explicit ImClient(ClientScript s) {
    if (s.box_already_open) ShowBox();
    d.on_message = [this, s](const Message& m) {
      if (m.window == keyword_box && m.msg == wm::kChar && m.wparam == 13 && s.open_after >= 0) {
        clock.After(s.open_after, [this, s] { OpenWindow(s); });
      }
      if (m.window == ninth && m.msg == wm::kLButtonUp) {
        if (s.outcome == ClientScript::Closes) clock.After(0.2, [this] { d.Destroy(window); });
        if (s.outcome == ClientScript::ShowsBox) {
          clock.After(0.2, [this, s] {
            if (s.close_window_with_box) d.Destroy(window);
            ShowBox();
          });
        }
      }
    };
  }
  void OpenWindow(const ClientScript& s) {
    window = d.AddChild(mdi, "AOL Child", "Send Instant Message");
    d.BringToFront(window);
    for (int i = 0; i < s.icons; ++i) icons.push_back(d.AddChild(window, "_AOL_Icon"));
    ninth = icons.size() >= 9 ? icons[8] : 0;
    clock.After(s.textbox_after, [this] {
      textbox = d.AddChild(window, "RICHCNTL");
      d.BringToFront(textbox);
    });
  }
  void ShowBox() {
    box = d.AddTopLevel("#32770", "America Online");
    d.AddChild(box, "Static", "Your instant messages are now off.");
    ok = d.AddChild(box, "Button", "OK");
  }
  std::vector<Message> Without(Hwnd keyword) const {
    std::vector<Message> rest;
    for (auto& m : d.Log()) if (m.window != keyword) rest.push_back(m);
    return rest;
  }
};

struct ImCase {
  const char* name;
  ClientScript script;
  bool sent;          // the text was set and Send clicked
  bool answered_box;  // the box got the space bar
  bool closed;        // WM_CLOSE was posted to the window
  double returns_by;  // the call returned by this virtual time
};

class SendIm : public testing::TestWithParam<ImCase> {};

TEST_P(SendIm, WaitsForTheWindowSendsAndAnswersTheOutcome) {
  const ImCase& c = GetParam();
  ImClient client(c.script);
  int pumps_while_waiting = 0;
  client.clock.At(0.1, [&] { ++pumps_while_waiting; });  // a click during the wait
  fakes::InlineClient aol(client.d);
  SetImsOff(aol, client.clock);

  EXPECT_EQ(pumps_while_waiting, 1) << "events are handled during the waits";
  EXPECT_LE(client.clock.Now(), c.returns_by);
  EXPECT_EQ(client.d.ReceivedBy(client.keyword_box).front(),
            fakes::SetText(client.keyword_box, "aol://9293:$IM_OFF"));
  const auto to_window = client.Without(client.keyword_box);
  std::vector<Message> want;
  if (c.sent) {
    want = {fakes::SetText(client.textbox, "=)"), Sent(client.ninth, wm::kLButtonDown),
            Sent(client.ninth, wm::kLButtonUp)};
  }
  if (c.answered_box) {
    want.push_back(Posted(client.ok, wm::kKeyDown, 0x20));
    want.push_back(Posted(client.ok, wm::kKeyUp, 0x20));
  }
  if (c.closed) want.push_back(Posted(client.window, wm::kClose));
  EXPECT_EQ(to_window, want);
}

using S = ClientScript;
INSTANTIATE_TEST_SUITE_P(
    Clients, SendIm,
    testing::Values(
        ImCase{"ClosesAfterSending", S{}, true, false, false, 1},
        ImCase{"OpensLate", S{.open_after = 12}, true, false, false, 13},
        ImCase{"TextBoxComesLater", S{.textbox_after = 2}, true, false, false, 3},
        ImCase{"BoxWhileWindowOpen", S{.outcome = S::ShowsBox}, true, true, true, 1},
        ImCase{"BoxAndWindowGone", S{.outcome = S::ShowsBox, .close_window_with_box = true}, true, true, false, 1},
        ImCase{"BoxAlreadyOpenIsAnsweredAtOnce", S{.outcome = S::Nothing, .box_already_open = true}, true, true, true, 1},
        // Given up silently at the bounds.
        ImCase{"NeverOpens", S{.open_after = -1}, false, false, false, kImWindowWaitSeconds + 0.1},
        ImCase{"EightIconsIsNotReady", S{.icons = 8}, false, false, false, kImWindowWaitSeconds + 0.5},
        ImCase{"NoIcons", S{.icons = 0}, false, false, false, kImWindowWaitSeconds + 0.5},
        ImCase{"NeverClosesAndNoBox", S{.outcome = S::Nothing}, true, false, false,
               kImWindowWaitSeconds + kImOutcomeWaitSeconds}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zantic
