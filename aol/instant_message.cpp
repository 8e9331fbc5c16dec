#include "aol/instant_message.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "aol/client_windows.h"

namespace zantic {
namespace {

// Between passes of a wait, sleep until an event arrives or this much time has passed,
// so waiting for the client costs no processor time and the window stays responsive.
constexpr double kPassInterval = 0.05;

void WaitBeforeNextPass(EventLoop& events, double deadline) {
  events.WaitForEvents(std::min(events.Now() + kPassInterval, deadline));
}

// The Send button: the ninth "_AOL_Icon" child in child order, or none when the window
// has fewer. The walk does not start again from the first icon.
Hwnd NinthIcon(WindowSystem& windows, Hwnd window) {
  int seen = 0;
  for (Hwnd icon : aol::ChildWindows(windows, window, aol::kIcon)) {
    if (++seen == 9) return icon;
  }
  return kNoWindow;
}

Hwnd FindImWindow(WindowSystem& windows, Hwnd mdi) {
  return windows.FindWindowExA(mdi, kNoWindow, aol::kChild, aol::kSendImCaption);
}

}  // namespace

void RunKeyword(AolClient& aol, std::string_view keyword) {
  WindowSystem& windows = aol.windows();
  Hwnd box = windows.FindWindowA(aol::kFrame, std::nullopt);
  for (std::string_view cls : {aol::kToolbar, aol::kInnerToolbar, aol::kCombobox, aol::kEdit}) {
    box = windows.FindWindowExA(box, kNoWindow, cls, std::nullopt);
  }
  aol.Send(box, [box, keyword = std::string(keyword)](WindowSystem& w) {
    w.SendTextMessageA(box, wm::kSetText, 0, keyword);
    w.SendMessageA(box, wm::kChar, 32, 0);
    w.SendMessageA(box, wm::kChar, 13, 0);
  });
}

void SendInstantMessage(AolClient& aol, EventLoop& events, std::string_view recipient,
                        std::string_view message) {
  WindowSystem& windows = aol.windows();
  const Hwnd mdi = aol::FindMdiClient(windows);
  RunKeyword(aol, std::string(kImKeywordPrefix) + std::string(recipient));
  // Both waits look only inside this MDI client: with no client running there is nothing
  // to wait for.
  if (mdi == kNoWindow) return;

  // Wait for the window, its message box and its Send button.
  Hwnd window = kNoWindow, textbox = kNoWindow, button = kNoWindow;
  for (const double deadline = events.Now() + kImWindowWaitSeconds;;) {
    events.PumpEvents();
    window = FindImWindow(windows, mdi);
    textbox = windows.FindWindowExA(window, kNoWindow, aol::kRichText, std::nullopt);
    button = NinthIcon(windows, window);
    if (window != kNoWindow && textbox != kNoWindow && button != kNoWindow) break;
    if (events.Now() >= deadline) return;  // the window never became ready: give up
    WaitBeforeNextPass(events, deadline);
  }

  // The message and the click on Send go together; the outcome is looked for only once they
  // have gone out (a box the client shows before that has nothing to do with them yet).
  auto clicked = std::make_shared<std::atomic<bool>>(false);
  aol.Send(textbox, [textbox, button, clicked, message = std::string(message)](WindowSystem& w) {
    w.SendTextMessageA(textbox, wm::kSetText, 0, message);
    w.SendMessageA(button, wm::kLButtonDown, 0, 0);
    w.SendMessageA(button, wm::kLButtonUp, 0, 0);
    *clicked = true;
  });

  // Wait for the outcome: the window closes, or the client's message box appears. The box
  // is tested first in every pass.
  for (const double deadline = events.Now() + kImOutcomeWaitSeconds;;) {
    events.PumpEvents();
    if (*clicked) {
      const Hwnd msgbox = windows.FindWindowA(aol::kDialog, aol::kMessageBoxCaption);
      window = FindImWindow(windows, mdi);
      if (msgbox != kNoWindow) {
        const Hwnd ok = windows.FindWindowExA(msgbox, kNoWindow, aol::kButton, std::nullopt);
        constexpr std::uintptr_t kSpaceBar = 0x20;
        windows.PostMessageA(ok, wm::kKeyDown, kSpaceBar, 0);
        windows.PostMessageA(ok, wm::kKeyUp, kSpaceBar, 0);
        windows.PostMessageA(window, wm::kClose, 0, 0);
        return;
      }
      if (window == kNoWindow) return;  // the window has closed: the message went out
    }
    if (events.Now() >= deadline) return;
    WaitBeforeNextPass(events, deadline);
  }
}

void SetImsOff(AolClient& aol, EventLoop& events) { SendInstantMessage(aol, events, "$IM_OFF", "=)"); }

void SetImsOn(AolClient& aol, EventLoop& events) { SendInstantMessage(aol, events, "$IM_ON", "=)"); }

}  // namespace zantic
