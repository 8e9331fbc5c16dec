#include "core/idle_run.h"

#include "aol/chat_room.h"
#include "core/announcement.h"
#include "core/pause.h"
#include "core/settings.h"
#include "core/texts.h"

namespace zantic {
namespace {

void Post(const RunPorts& p, const std::string& line, AolClient::Step step = {}) {
  SendChatLine(p.aol, line, step);
}

bool BoxesEmpty(const RunPorts& p, IdleMode mode) {
  if (mode == IdleMode::Regular) return p.inputs.Reason().empty();
  return p.inputs.LinkUrl().empty() || p.inputs.LinkDescription().empty();
}

// An observer that is told nothing, for a run nobody follows.
struct NoObserver final : RunObserver {
  void RunBegan() override {}
  void SecondPassed() override {}
  void MinutesChanged() override {}
  void RunEnded() override {}
};

// Sixty one-second pauses per minute, with the running flag tested after each; the step
// after the sixtieth is not interrupted. The lines of the n-th minute step are step n of the
// run's series: once the next minute is due, what of them still waits behind a client that
// does not answer is no news to anyone.
template <typename MinuteStep>
void MinuteLoop(const RunPorts& p, IdleState& s, RunObserver& o, MinuteStep step) {
  for (std::uint64_t n = 1;; ++n) {
    for (int second = 1; second <= 60; ++second) {
      Pause(p.events, 1);
      if (!s.Running) return;
      o.SecondPassed();
    }
    s.Minutes = NextMinutes(s.Minutes);
    o.MinutesChanged();
    step(AolClient::Step{s.RunNumber, n});
  }
}

void Ending(const RunPorts& p, IdleState& s, RunObserver& o) {
  // The handle is read again, without the guard: a handle changed during the run counts.
  Post(p, OffIdleLine(ReadHandle(p.handle_file), s.Minutes));
  s.RunUnderWay = false;
  o.RunEnded();
}

// Running and Minutes are set only once Start is accepted: a refused Start must not bring
// back a run that Stop has just ended.
void Accept(IdleState& s) {
  s.RunUnderWay = true;
  ++s.RunNumber;
  s.Running = true;
  s.Minutes = "0";
}

}  // namespace

std::string NextMinutes(std::string_view minutes) {
  // The decimal digits plus one, carrying ("9" gives "10"). Minutes only ever holds digits.
  std::string digits(minutes);
  auto i = digits.rbegin();
  for (; i != digits.rend() && *i == '9'; ++i) *i = '0';
  if (i == digits.rend()) {
    digits.insert(digits.begin(), '1');
  } else {
    ++*i;
  }
  return digits;
}

void StartIdleRun(const RunPorts& p, IdleState& s, RunObserver* observer) {
  NoObserver nobody;
  RunObserver& o = observer ? *observer : nobody;
  if (s.RunUnderWay) return;
  if (ReservedHandleGuard(p.handle_file, p.boxes, ReadHandle(p.handle_file))) return;
  if (s.Mode == IdleMode::None) {
    ShowMessage(p.boxes, kPickAnIdler);
    return;
  }
  if (BoxesEmpty(p, s.Mode)) {
    ShowMessage(p.boxes, kFillInAllBoxes);
    return;
  }
  Accept(s);
  o.RunBegan();
  if (s.Mode == IdleMode::Regular) {
    s.Reason = p.inputs.Reason();
    p.inputs.Lock();
    Post(p, BeganLine());
    Pause(p.events, 0.7);
    Post(p, ReasonLine(s.Reason));
    MinuteLoop(p, s, o, [&](AolClient::Step minute) {
      Post(p, MinuteLine(s.Minutes), minute);
      Pause(p.events, 0.7);
      Post(p, ReasonLine(s.Reason), minute);
    });
  } else {
    s.LinkDescription = p.inputs.LinkDescription();
    s.LinkUrl = p.inputs.LinkUrl();
    Post(p, BeganLine());
    Pause(p.events, 1.3);
    Post(p, FirstLinkLine(s.LinkUrl, s.LinkDescription));
    // The link run locks the inputs only after its first link line (Start stays clickable
    // in the pause before it), and again after every link line.
    p.inputs.Lock();
    MinuteLoop(p, s, o, [&](AolClient::Step minute) {
      Post(p, MinuteLine(s.Minutes), minute);
      Pause(p.events, 1.3);
      Post(p, LinkLine(s.LinkUrl, s.LinkDescription), minute);
      p.inputs.Lock();
    });
  }
  Ending(p, s, o);
}

void StopIdleRun(const RunPorts& p, IdleState& s) {
  if (ReservedHandleGuard(p.handle_file, p.boxes, ReadHandle(p.handle_file))) return;
  if (s.Mode == IdleMode::None) {
    ShowMessage(p.boxes, kPickAnIdler);
    return;
  }
  if (BoxesEmpty(p, s.Mode)) {
    ShowMessage(p.boxes, kFillInAllBoxes);
    return;
  }
  p.inputs.Unlock();
  s.Running = false;
}

}  // namespace zantic
