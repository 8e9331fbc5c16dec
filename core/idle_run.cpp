#include "core/idle_run.h"

#include <algorithm>
#include <cmath>

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

// An observer that is told nothing, for a run nobody follows.
struct NoObserver final : RunObserver {
  void RunBegan() override {}
  int SecondsPerCall() const override { return 60; }
  void SecondsPassed() override {}
  void MinutesChanged() override {}
  void RunEnded() override {}
};

// A minute is sixty seconds on a grid counted from the minute's own start (after the step
// before it), so a handler nested in the wait (a box held open for seconds) does not push
// the minute back. The loop sleeps to the observer's next call or the minute's end and
// wakes early only for events; Stop is a click, an event, so a wait that ends after a pass
// of events looks at the running flag then. The run notices Stop at the grid's next whole
// second after the pass of events that held it (at once when a nested handler kept it
// past that second), then posts the off-idle line. The step after the sixtieth second is
// not interrupted. The lines of the n-th minute step are step n of the run's series: once
// the next minute is due, what of them still waits behind a client that does not answer
// is no news to anyone.
template <typename MinuteStep>
void MinuteLoop(const RunPorts& p, IdleState& s, RunObserver& o, MinuteStep step) {
  const int every = std::clamp(o.SecondsPerCall(), 1, 60);
  const auto stopped = [&s] { return !s.Running; };
  for (std::uint64_t n = 1;; ++n) {
    const double start = p.events.Now();
    for (int second = 0; second < 60;) {
      second = std::min(second + every, 60);
      if (const auto pass = PauseUntil(p.events, start + second, stopped)) {
        PauseUntil(p.events, start + std::floor(*pass - start) + 1);
        return;
      }
      o.SecondsPassed();
    }
    s.Minutes = NextMinutes(s.Minutes);
    o.MinutesChanged();
    step(AolClient::Step{s.RunNumber, n});
  }
}

void Ending(const RunPorts& p, IdleState& s, RunObserver& o) {
  // The handle is read again, without the guard: a handle changed during the run counts.
  Post(p, OffIdleLine(ReadHandle(p.settings), s.Minutes));
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

std::optional<Missing> WhatIsMissing(RunInputs& inputs, const IdleState& s) {
  if (s.Mode == IdleMode::None) return Missing::Idler;
  const bool empty = s.Mode == IdleMode::Regular ? inputs.Reason().empty()
                                                 : inputs.LinkUrl().empty() || inputs.LinkDescription().empty();
  if (empty) return Missing::Box;
  return std::nullopt;
}

std::string_view MissingMessage(Missing what) { return what == Missing::Idler ? kPickAnIdler : kFillInAllBoxes; }

void StartIdleRun(const RunPorts& p, IdleState& s, RunObserver* observer) {
  NoObserver nobody;
  RunObserver& o = observer ? *observer : nobody;
  if (s.RunUnderWay) return;
  if (ReservedHandleGuard(p.settings, p.boxes, ReadHandle(p.settings))) return;
  if (const auto missing = WhatIsMissing(p.inputs, s)) {
    ShowMessage(p.boxes, MissingMessage(*missing));
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
  if (ReservedHandleGuard(p.settings, p.boxes, ReadHandle(p.settings))) return;
  if (const auto missing = WhatIsMissing(p.inputs, s)) {
    ShowMessage(p.boxes, MissingMessage(*missing));
    return;
  }
  p.inputs.Unlock();
  s.Running = false;
}

}  // namespace zantic
