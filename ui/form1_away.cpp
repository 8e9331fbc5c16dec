// The program's private side: the tray icon, the digest of the room, the nudge when the
// user is back, and another copy started. Nothing here posts to the room.
#include "aol/chat_room.h"
#include "core/settings.h"
#include "core/texts.h"
#include "ui/form1.h"
#include "ui/window_moves.h"

namespace zantic {

void Form1::ShowWindowInFront() {
  p_.form.ShowForm();
  KeepOnTop(p_.own_window, p_.form.FormWindow());
}

void Form1::Tray_Click() {
  if (!TrayWorks()) return;
  if (p_.form.IsFormShown()) {
    p_.form.HideForm();
  } else {
    ShowWindowInFront();
  }
}

std::vector<TrayMenuItem> Form1::TrayMenu() {
  if (!TrayWorks()) return {};
  std::vector<TrayMenuItem> items = {
      {TrayCommand::ShowOrHide, std::string(p_.form.IsFormShown() ? kHideWindow : kShowWindow), true},
      {TrayCommand::WhileYouWereAway, std::string(kWhileYouWereAway), true},
      {TrayCommand::StopIdling, std::string(kStopIdling), state_.RunUnderWay && state_.Running}};
  for (TrayMenuItem& item : AutoIdleMenu()) items.push_back(std::move(item));
  items.push_back({TrayCommand::Exit, std::string(kExit), true});
  return items;
}

void Form1::Tray_Command(TrayCommand command) {
  if (!TrayWorks()) return;
  switch (command) {
    case TrayCommand::ShowOrHide: return Tray_Click();
    case TrayCommand::WhileYouWereAway: return ShowLastDigest();
    case TrayCommand::StopIdling: return Label8_Click();
    case TrayCommand::Exit: return Label2_Click();
    default: return AutoIdle_Command(command);
  }
}

void Form1::Tray_BalloonClick() {
  if (TrayWorks()) Label8_Click();
}

CopyAnswer Form1::AnotherCopyStarted() {
  if (ending_) return CopyAnswer::Ending;
  if (!loaded_) return CopyAnswer::Loading;
  ShowWindowInFront();
  return CopyAnswer::Shown;
}

OtherCopyWait::Next OtherCopyWait::Heard(std::optional<CopyAnswer> answer, double now) {
  if (answer == CopyAnswer::Shown) return Next::End;
  if (answer) deadline_ = now + kPatienceSeconds;
  return now >= deadline_ ? Next::TellUserAndEnd : Next::AskAgain;
}

void Form1::ShowLastDigest() {
  if (last_digest_.Ended()) {
    p_.digest_view.ShowDigest(last_digest_.Heading(), last_digest_.Lines());
  } else {
    p_.digest_view.ShowDigest(kNothingYet, "");
  }
}

// The screen name is looked up when a run begins. While it is missing (no Welcome window)
// it is looked for again before a line of the room, but no sooner than
// kScreenNameLookSeconds after the last look: a look is a dozen calls to the window
// system, too many for every line of a busy room.
void Form1::DigestLine(std::string_view speaker, std::string_view text) {
  if (!digest_.KnowsScreenName() && p_.events.Now() >= next_name_look_) LookUpScreenName();
  digest_.Line(speaker, text, p_.input.MinuteOfDay());
}

void Form1::LookUpScreenName() {
  digest_.SetScreenName(GetScreenName(p_.aol.windows()));
  next_name_look_ = p_.events.Now() + kScreenNameLookSeconds;
}

void Form1::Follower::RunBegan() {
  f_.digest_.Begin("", ReadHandle(f_.p_.settings()));
  f_.LookUpScreenName();
  f_.nudge_.Begin(f_.p_.input.TickMs());
  f_.AutoIdleRunBegan();
  f_.ShowTip();
}

void Form1::Follower::SecondsPassed() {
  if (f_.auto_idle_.OwnRun()) return f_.AutoIdleCheck();  // it stops by itself: no nudge
  if (f_.nudge_.Check(f_.p_.input.TickMs(), f_.p_.input.LastInputTickMs())) {
    f_.p_.tray.ShowBalloon(kProgramName, kBackBalloon);
  }
}

void Form1::Follower::MinutesChanged() { f_.ShowTip(); }

void Form1::Follower::RunEnded() {
  f_.digest_.End(f_.state_.Minutes);
  f_.last_digest_ = f_.digest_;
  f_.AutoIdleRunEnded();
  f_.ShowTip();
  if (f_.last_digest_.mentioned() > 0) f_.ShowLastDigest();
}

}  // namespace zantic
