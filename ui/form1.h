// The main window's logic: one handler per control event. The Win32 window (ui/win32)
// creates the controls, implements the FormControls port and calls these handlers; the
// handlers run on the user-interface thread and may run nested inside one another's
// pauses.
#pragma once

#include <string>
#include <string_view>

#include <vector>

#include "core/back_nudge.h"
#include "core/digest.h"
#include "core/idle_run.h"
#include "core/idle_state.h"
#include "core/program_ports.h"

namespace zantic {

// A web address of the author's (shown without its scheme) and an address for questions.
inline constexpr std::string_view SecondWebAddress = "www.vorn-and-tamsel.net/idlers/";
inline constexpr std::string_view ContactEmailAddress = "vorn@zantic-idle.net";

// The texts of the "greetz" and "?" message boxes.
std::string GreetingsText();
std::string HelpText();

// The tray icon's tooltip: "zantic idle - idling, N minute(s)" during a run, "zantic idle"
// otherwise.
std::string TrayTip(const IdleState& state);
inline constexpr std::string_view kBackBalloon = "Back? Click here to stop idling.";

enum class TrayCommand { ShowOrHide = 1, WhileYouWereAway, StopIdling, Exit };
struct TrayMenuItem {
  TrayCommand command;
  std::string text;
  bool enabled;
  bool operator==(const TrayMenuItem&) const = default;
};

class Form1 {
 public:
  explicit Form1(Ports ports) : p_(ports) {}

  // The load sequence; runs once, before the window is first shown.
  void Form_Load();
  // A mouse button pressed on the window's own surface (not on a control).
  void Form_MouseDown(MouseButton button = MouseButton::Left);
  // A click (press and release) on a label. Labels without a handler do nothing.
  void Click(Control label);
  // A line of the chat room, reported by the chat scanner.
  void Chat1_ChatLine(std::string_view speaker, std::string_view text);

  IdleState& State() { return state_; }

  // The tray icon, the room's digest and the nudge: the program's private side, which posts
  // nothing to the room (ui/form1_away.cpp).
  // A left click on the icon (or its selection by keyboard): the window shown and brought
  // to the front when it is hidden, hidden when it is shown.
  void Tray_Click();
  std::vector<TrayMenuItem> TrayMenu();
  void Tray_Command(TrayCommand command);
  // A click on the balloon that asks whether the user is back: what "Stop" does.
  void Tray_BalloonClick();
  // Another copy of the program was started: this one's window comes back to the front.
  void AnotherCopyStarted();
  // The digest of the last run that ended (an empty one before that).
  const RoomDigest& LastDigest() const { return last_digest_; }

  void Label2_Click();   // "X"
  void Label3_Click();   // "?"
  void Label4_Click();   // "reg. idle"
  void Label5_Click();   // "link idle"
  void Label6_Click();   // "other"
  void Label7_Click();   // "Start"
  void Label8_Click();   // "Stop"
  void Label9_Click();   // "IMs on"
  void Label10_Click();  // "IMs off"
  void Label11_Click();  // "adv"
  void Label12_Click();  // "greetz"
  void Label13_Click();  // "handle"
  void Label14_Click();  // "set"

 private:
  // Follows each run for the tray's tooltip, the digest and the nudge.
  class Follower final : public RunObserver {
   public:
    explicit Follower(Form1& form) : f_(form) {}
    void RunBegan() override;
    int SecondsPerCall() const override { return BackNudge::kCheckSeconds; }
    void SecondsPassed() override;
    void MinutesChanged() override;
    void RunEnded() override;

   private:
    Form1& f_;
  };
  void ShowWindowInFront();
  void ShowLastDigest();

  Ports p_;
  IdleState state_;
  Follower follower_{*this};
  RoomDigest digest_, last_digest_;
  BackNudge nudge_;
};

}  // namespace zantic
