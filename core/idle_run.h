// The idle run: Start announces the idle period and counts its minutes on a grid of whole
// seconds from each minute's start; Stop (which runs nested inside the run's wait) clears
// the running flag, and the run posts the off-idle line at the grid's next second and
// returns. The run sleeps through its quiet seconds: it wakes for events, for its observer
// and for the minute, not once a second.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "aol/client.h"
#include "core/idle_state.h"
#include "core/settings.h"
#include "platform/event_loop.h"
#include "platform/message_boxes.h"

namespace zantic {

// Told of a run's course, privately (nothing of it goes to the room): the tray's tooltip,
// the digest of the room and the nudge when the user is back follow it.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  virtual void RunBegan() = 0;         // Start was accepted
  // How often the observer is told that seconds have passed: every so many seconds of each
  // minute (a divisor of 60; the minute's sixtieth second is always one). The run wakes
  // only then, so the longer, the less the program is woken.
  virtual int SecondsPerCall() const = 0;
  virtual void SecondsPassed() = 0;    // each time that many seconds of the minute have passed
  virtual void MinutesChanged() = 0;   // a full minute has passed
  virtual void RunEnded() = 0;         // after the off-idle line
};

// What a run is given of the main window: the texts it reads, and a way to lock the inputs
// whose texts it has taken (the three boxes and "Start") and to unlock them.
class RunInputs {
 public:
  virtual ~RunInputs() = default;
  virtual std::string Reason() = 0;
  virtual std::string LinkDescription() = 0;
  virtual std::string LinkUrl() = 0;
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
};

// What a run uses: the client it posts to, the clock it waits on, the stored handle, a way
// to tell the user, and the window's inputs.
struct RunPorts {
  AolClient& aol;
  EventLoop& events;
  SettingsStore settings;
  MessageBoxes& boxes;
  RunInputs& inputs;
};

// What Start and Stop refuse for (after the guard), with the mode and the boxes as they
// stand: no idler picked, or a box of the mode empty; nothing when they would go ahead.
enum class Missing { Idler, Box };
std::optional<Missing> WhatIsMissing(RunInputs& inputs, const IdleState& state);
std::string_view MissingMessage(Missing what);

// The click on "Start". Returns when the run has ended or was refused. While a run is under
// way (from an accepted Start until its off-idle line) it does nothing at all: Start stays
// clickable in two gaps of a run, and a second run nested in the first would post two
// began lines and end the first with the second's minutes.
void StartIdleRun(const RunPorts& ports, IdleState& state, RunObserver* observer = nullptr);

// The click on "Stop". Never waits for the run.
void StopIdleRun(const RunPorts& ports, IdleState& state);

// The decimal text of the number in `minutes` plus one ("9" gives "10").
std::string NextMinutes(std::string_view minutes);

}  // namespace zantic
