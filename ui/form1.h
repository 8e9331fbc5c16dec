// The main window's logic: one handler per control event. The Win32 window (ui/win32)
// creates the controls, implements the FormControls port and calls these handlers; the
// handlers run on the user-interface thread and may run nested inside one another's
// pauses.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/auto_idle.h"
#include "core/back_nudge.h"
#include "core/digest.h"
#include "core/idle_run.h"
#include "core/idle_state.h"
#include "core/texts.h"
#include "ui/program_ports.h"

namespace zantic {

// IdleDelay opens the submenu of IdleAfter5 to IdleAfter30.
enum class TrayCommand {
  ShowOrHide = 1, WhileYouWereAway, StopIdling, Exit,
  IdleByItself, IdleDelay, IdleAfter5, IdleAfter10, IdleAfter15, IdleAfter30,
};
struct TrayMenuItem {
  TrayCommand command;
  std::string text;
  bool enabled;
  bool checked = false;
  std::vector<TrayMenuItem> submenu = {};
  bool operator==(const TrayMenuItem&) const = default;
};

// The boxes a run reads and the inputs it locks, on the main window: Text1 to Text3 and
// "Start".
class FormRunInputs final : public RunInputs {
 public:
  explicit FormRunInputs(FormControls& form) : form_(form) {}
  std::string Reason() override;
  std::string LinkDescription() override;
  std::string LinkUrl() override;
  void Lock() override;
  void Unlock() override;

 private:
  FormControls& form_;
};

// What this copy answers another copy that was started: its window is back in front (the
// other ends), or not yet: it is loading (its window shows when the load ends) or ending
// (the other waits for it to go and starts in its place).
enum class CopyAnswer { Shown = 1, Loading, Ending };

// A start that finds another copy running waits for that copy: for its window to come back
// (this start then ends), or for it to end (this start then runs in its place, which the
// caller sees for itself). It never ends with nothing on screen: a copy that gives no sign
// of life for kPatienceSeconds is hung, and the user is told. A copy that answers it is
// loading or ending is alive (the user may take their time over a box of its load, or
// over one opened during its exit), and its window shows or it goes when that is done:
// each such answer renews the patience.
class OtherCopyWait {
 public:
  static constexpr double kPatienceSeconds = 5;
  enum class Next { AskAgain, End, TellUserAndEnd };
  explicit OtherCopyWait(double now) : deadline_(now + kPatienceSeconds) {}
  // What the other copy answered at `now`; nothing when there was no window of it to ask,
  // or it did not answer.
  Next Heard(std::optional<CopyAnswer> answer, double now);

 private:
  double deadline_;
};

class Form1 {
 public:
  // Seconds between two looks for a screen name that was missing (no Welcome window).
  static constexpr double kScreenNameLookSeconds = 5;

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
  // nothing to the room (ui/form1_away.cpp). Until the load sequence has ended, and once
  // "X" has begun, the tray icon does nothing and has no menu.
  // A left click on the icon (or its selection by keyboard): the window shown and brought
  // to the front when it is hidden, hidden when it is shown.
  void Tray_Click();
  std::vector<TrayMenuItem> TrayMenu();
  void Tray_Command(TrayCommand command);
  // A click on the balloon that asks whether the user is back: what "Stop" does.
  void Tray_BalloonClick();
  // Another copy of the program was started: this one's window comes back to the front,
  // once it is loaded and unless it is ending.
  CopyAnswer AnotherCopyStarted();
  // The check of idling by itself, every few seconds while it is on and no run is under way
  // (ui/form1_auto.cpp).
  void AutoIdle_Timer();
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
  RunPorts ForRun() { return {p_.aol, p_.events, p_.settings(), p_.boxes, inputs_}; }
  void ShowWindowInFront();
  void ShowLastDigest();
  bool TrayWorks() const { return loaded_ && !ending_; }
  void DigestLine(std::string_view speaker, std::string_view text);
  void LookUpScreenName();
  // Idling by itself (ui/form1_auto.cpp).
  void LoadAutoIdle();
  void AutoIdleCheck();
  void StartByItself();
  std::string WhyAutoIdleWaits();
  void FollowTimer();
  void AutoIdleRunBegan();
  void AutoIdleRunEnded();
  std::vector<TrayMenuItem> AutoIdleMenu();
  void AutoIdle_Command(TrayCommand command);
  // The tooltip as things stand, given to the tray when it changes.
  void ShowTip();

  Ports p_;
  IdleState state_;
  FormRunInputs inputs_{p_.form};
  Follower follower_{*this};
  RoomDigest digest_, last_digest_;
  BackNudge nudge_;
  AutoIdle auto_idle_;
  bool starting_by_itself_ = false;
  std::string waiting_;            // why idling by itself waits, when it is due
  std::string tip_{kProgramName};
  double next_name_look_ = 0;  // on the event loop's clock
  bool loaded_ = false;        // the load sequence has ended
  bool ending_ = false;        // "X" has begun
};

}  // namespace zantic
