// A client that hangs across a minute step of a run, with "adv" clicked in the hang: how
// long the program's window went without answering, and how the lines said into it reached
// the room after the hang (all of them, whole, in order, a line at a time).
#include <algorithm>
#include <chrono>

#include "bench/benchmarks.h"
#include "bench/report.h"
#include "bench/session.h"
#include "core/announcement.h"

namespace bench {

int HangBench(double hang_seconds) {
  drive::Sim sim;
  drive::Program program;
  if (!sim.Ready() || !program.Ready()) {
    Detail("hang: the stand-in or the program did not start");
    return 2;
  }
  const auto reason_ms = StartRegularRun(program, sim);
  if (!reason_ms) return 2;
  const double reason_seen = Now();
  program.Click(zantic::Control::Label6);
  // The minute line is due 60 s after the reason line: the hang is centred on it.
  SleepFor(reason_seen + 60 - hang_seconds / 2 - Now());
  drive::AnswerWatch watch(program.Window());
  sim.Control(Format("hang %.1f", hang_seconds));
  if (!sim.WaitFor("fault", "state", "begin")) return 2;
  SleepFor(1);
  program.Click(zantic::Control::Label11);  // adv
  const auto end = sim.WaitFor("fault", "state", "end", std::chrono::milliseconds(static_cast<int>(hang_seconds * 1000) + 10000));
  if (!end) return 2;
  const std::vector<std::string> expected = {zantic::CreditLine(), zantic::WebAddressLine(), zantic::MinuteLine("1"),
                                             zantic::ReasonLine("bench")};
  drive::WaitUntil([&] { return sim.Count(expected.back()) == 2; }, std::chrono::seconds(10));
  std::vector<std::string> after;
  double first = 0, last = 0, closest = 1e9;
  for (const auto& e : sim.ChatLines()) {
    if (e.t() < end->t()) continue;
    if (after.empty()) first = e.t();
    if (!after.empty()) closest = std::min(closest, e.t() - last);
    after.push_back(e["text"]);
    last = e.t();
  }
  const long long silence = watch.Stop();
  const bool whole = after == expected && closest >= 700;
  const bool met = whole && silence < 1000;
  Row("6 Hung client", Format("a %.0f s hang across a minute step: the window's longest silence, ms", hang_seconds),
      Format("%lld", silence), "the platform calls a window hung after 5000", "< 1000", met);
  Row("6 Hung client", "the lines said into the hang (adv, the minute line and its reason): after it, whole and in order; the first, ms after it; the closest two, ms apart",
      after == expected ? Format("4 of 4; %.0f; %.0f", first - end->t(), closest) : Format("%zu lines, not the expected 4", after.size()),
      "", "none lost, >= 700 apart", whole);
  return met ? 0 : 1;
}

}  // namespace bench
