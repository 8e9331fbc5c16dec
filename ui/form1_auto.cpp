// Idling by itself: once the user has asked for it from the tray's menu, the program
// presses Start when the user has been away for the delay, and Stop when they are back,
// for a run it started itself. Its checks come from the check timer while no run is under
// way, and from the run's own seconds during one. Off, none of it runs: no check, no timer.
#include <iterator>
#include <optional>

#include "core/auto_idle.h"
#include "core/settings.h"
#include "core/texts.h"
#include "ui/form1.h"

namespace zantic {
namespace {

// The delays the menu offers, in minutes: IdleAfter5 to IdleAfter30.
constexpr double kDelays[] = {5, 10, 15, 30};

TrayCommand DelayCommand(std::size_t i) {
  return static_cast<TrayCommand>(static_cast<int>(TrayCommand::IdleAfter5) + static_cast<int>(i));
}

}  // namespace

void Form1::LoadAutoIdle() {
  auto_idle_.Choose(ReadAutoIdle(p_.settings()), p_.input.TickMs());
  FollowTimer();
}

void Form1::FollowTimer() {
  if (auto_idle_.On() && TrayWorks() && !state_.RunUnderWay) {
    p_.timer.StartTimer(PresenceRule::kCheckSeconds);
  } else {
    p_.timer.StopTimer();
  }
}

void Form1::AutoIdle_Timer() {
  if (TrayWorks() && !state_.RunUnderWay) AutoIdleCheck();
}

void Form1::AutoIdleCheck() {
  switch (auto_idle_.Check(p_.input.TickMs(), p_.input.LastInputTickMs())) {
    case AutoIdle::Next::Start: return StartByItself();
    case AutoIdle::Next::Stop: return Label8_Click();
    case AutoIdle::Next::Wait: break;
  }
  if (!waiting_.empty() && !state_.RunUnderWay) {
    waiting_.clear();  // the user came back: nothing is due any more
    ShowTip();
  }
}

// What a click on Start would do, with the mode and the boxes as they stand; where Start
// would refuse, nothing at all (nobody is there to answer a box), and the tooltip says why.
void Form1::StartByItself() {
  waiting_ = WhyAutoIdleWaits();
  ShowTip();
  if (!waiting_.empty()) return;
  starting_by_itself_ = true;
  Label7_Click();
  starting_by_itself_ = false;
}

// Start's own checks, asked without a box; and a Start the user could not click either
// (hidden by the handle panel, or disabled until Stop is pressed once more).
std::string Form1::WhyAutoIdleWaits() {
  if (const auto missing = WhatIsMissing(inputs_, state_)) {
    return std::string(*missing == Missing::Idler ? kWaitForAnIdler : kWaitForTheBoxes);
  }
  if (!p_.form.IsVisible(Control::Label7)) return std::string(kWaitForTheHandlePanel);
  if (!p_.form.IsEnabled(Control::Label7)) return std::string(kWaitForStop);
  if (IsReservedHandle(ReadHandle(p_.settings()))) return std::string(kWaitForAHandle);
  return {};
}

void Form1::AutoIdleRunBegan() {
  auto_idle_.RunBegan(p_.input.TickMs(), starting_by_itself_);
  starting_by_itself_ = false;
  waiting_.clear();
  FollowTimer();
}

void Form1::AutoIdleRunEnded() {
  auto_idle_.RunEnded(p_.input.TickMs());
  FollowTimer();
}

void Form1::ShowTip() {
  std::string tip = state_.RunUnderWay ? TrayTip(state_, auto_idle_.OwnRun())
                    : waiting_.empty() ? std::string(kProgramName)
                                       : WaitingTip(waiting_);
  if (tip == tip_) return;
  tip_ = std::move(tip);
  p_.tray.SetTip(tip_);
}

std::vector<TrayMenuItem> Form1::AutoIdleMenu() {
  const double minutes = auto_idle_.Minutes();
  std::vector<TrayMenuItem> delays;
  for (std::size_t i = 0; i < std::size(kDelays); ++i) {
    delays.push_back({DelayCommand(i), DelayItem(MinutesText(kDelays[i])), true, auto_idle_.On() && minutes == kDelays[i]});
  }
  return {{TrayCommand::IdleByItself, IdleByItselfItem(MinutesText(minutes), minutes == 1), true, auto_idle_.On()},
          {TrayCommand::IdleDelay, std::string(kDelay), true, false, std::move(delays)}};
}

// The choice is taken only once it is stored: a choice the next start would not know is
// not taken, and the user is told why.
void Form1::AutoIdle_Command(TrayCommand command) {
  std::optional<double> minutes;
  if (command == TrayCommand::IdleByItself) minutes = auto_idle_.On() ? 0 : auto_idle_.Minutes();
  for (std::size_t i = 0; i < std::size(kDelays); ++i) {
    if (command == DelayCommand(i)) minutes = kDelays[i];
  }
  if (!minutes) return;
  if (const WriteResult written = WriteAutoIdle(p_.settings(), *minutes); written != WriteResult::Written) {
    ShowMessage(p_.boxes, HandleNotSavedMessage(written, kIdleByItselfChoice));
    return;
  }
  auto_idle_.Choose(*minutes, p_.input.TickMs());
  waiting_.clear();
  ShowTip();
  FollowTimer();
}

}  // namespace zantic
