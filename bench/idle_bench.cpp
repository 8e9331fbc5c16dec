// A regular idle run, as its user leaves it: the real program against the stand-in, and
// the build whose Pause is the literal busy loop. Processor time of the program and of the
// wineserver on its behalf, the minute lines' cadence, the working set.
#include <cmath>

#include "bench/benchmarks.h"
#include "bench/report.h"
#include "bench/session.h"
#include "core/announcement.h"

namespace bench {
namespace {

// Wakeups of the program's threads over whole minutes of a run: all of them, and each thread
// in the order it was made (the user-interface thread first).
struct Wakes {
  double minutes = 0;
  long long all = 0;
  std::vector<long long> threads;
  double PerMinute() const { return minutes > 0 ? all / minutes : 0; }
};

// The run is left alone this long before its wakeups are counted: the scanner's pace at the
// keyboard (the clicks and keys that began the run) is over by then.
constexpr double kSettleSeconds = 30;

Wakes WakesBetween(const std::vector<ThreadWakes>& before, const std::vector<ThreadWakes>& after, double minutes) {
  Wakes w;
  w.minutes = minutes;
  for (const ThreadWakes& a : after) {
    long long n = a.voluntary;
    for (const ThreadWakes& b : before) {
      if (b.tid == a.tid) n -= b.voluntary;
    }
    w.all += n;
    w.threads.push_back(n);
  }
  return w;
}

std::string PerThread(const Wakes& w) {
  std::string text;
  for (std::size_t i = 0; i < w.threads.size(); ++i) {
    text += Format("%s%.0f", i ? " / " : "", w.minutes > 0 ? w.threads[i] / w.minutes : 0);
  }
  return text;
}

struct IdleRun {
  bool ok = false;
  Cpu used;
  Wakes wakes;
  Memory at_start, at_end;
  std::vector<double> minute_error_ms;  // each minute line's lateness against the ideal
  std::vector<double> step_error_ms;    // each step's reason line after its minute line, less 0.7 s
};

// The minute lines since the reason line at `reason_ms`: the first is due 60 s after it,
// each later one 60.7 s (sixty one-second pauses and the step's pause) after the one before.
// The reason line that follows each minute line comes 0.7 s after it, plus what one post
// takes.
void MinuteErrors(drive::Sim& sim, double reason_ms, IdleRun& run) {
  const auto events = sim.Events();
  const std::string reason = zantic::ReasonLine("bench");
  double previous = reason_ms, ideal = 60000;
  for (int k = 1;; ++k) {
    const std::string line = zantic::MinuteLine(std::to_string(k));
    std::optional<double> at, step;
    for (const auto& e : events) {
      if (e.event() != "chat" || e.t() <= reason_ms) continue;
      if (e["text"] == line) at = e.t();
      if (at && !step && e["text"] == reason) step = e.t();
    }
    if (!at) return;
    run.minute_error_ms.push_back(*at - previous - ideal);
    if (step) run.step_error_ms.push_back(*step - *at - 700);
    previous = *at;
    ideal = 60700;
  }
}

IdleRun Run(drive::Sim& sim, const wchar_t* exe, double seconds) {
  IdleRun run;
  drive::Program program(drive::Program::Options{{}, {}, true, exe});
  if (!program.Ready()) return run;
  const auto reason_ms = StartRegularRun(program, sim);
  if (!reason_ms) return run;
  const Processes processes(sim, &program);
  run.at_start = MemoryOf(program.Process());
  const Cpu start = processes.Now();
  // Whole minutes of wakeups, each minute holding one minute step, from kSettleSeconds on.
  const double minutes = std::floor((seconds - kSettleSeconds) / 60);
  SleepFor(kSettleSeconds);
  const auto wakes_before = WakesOf(processes.program());
  SleepFor(60 * minutes);
  run.wakes = WakesBetween(wakes_before, WakesOf(processes.program()), minutes);
  SleepFor(seconds - kSettleSeconds - 60 * minutes);
  run.used = processes.Now() - start;
  run.at_end = MemoryOf(program.Process());
  MinuteErrors(sim, *reason_ms, run);
  run.ok = processes.program() != 0;
  return run;
}

// What the wineserver does for the stand-in (and the rest of the prefix) on its own, per
// second.
double ServerBaseline(drive::Sim& sim, double seconds) {
  const Processes alone(sim, nullptr);
  const Cpu before = alone.Now();
  SleepFor(seconds);
  const Cpu baseline = alone.Now() - before;
  Detail(Format("idle: baseline %.0f s with the stand-in alone: wineserver %s, stand-in %s", baseline.at,
                Share(baseline.server, baseline.at).c_str(), Share(baseline.sim, baseline.at).c_str()));
  return baseline.server / baseline.at;
}

}  // namespace

int IdleBench(double seconds, double busy_seconds, double baseline_seconds) {
  drive::Sim sim;
  if (!sim.Ready()) {
    Detail("idle: the stand-in did not start");
    return 2;
  }
  const double server_rate = ServerBaseline(sim, baseline_seconds);

  const IdleRun ours = Run(sim, L"zantic-idle.exe", seconds);
  const IdleRun busy = Run(sim, L"zantic-idle-busy.exe", busy_seconds);
  if (!ours.ok || !busy.ok) {
    Detail("idle: a program did not start or its run did not begin");
    return 2;
  }
  auto per_minute = [](const Cpu& c) { return 60 * c.program / c.at; };
  auto server_share = [&](const Cpu& c) { return (c.server - server_rate * c.at) / c.at; };
  const double ratio = busy.used.program / busy.used.at / (ours.used.program / ours.used.at);
  const bool cpu_met = ours.used.program / ours.used.at < 0.002 && ratio > 200;
  Row("1 Idle CPU", Format("the program's process, CPU per minute of a regular run (%.0f min; busy loop %.0f min)",
                           ours.used.at / 60, busy.used.at / 60),
      Format("%.3f s/min = %s of a core", per_minute(ours.used), Share(ours.used.program, ours.used.at).c_str()),
      Format("busy loop: %.2f s/min = %s; ours is 1/%.0f of it", per_minute(busy.used),
             Share(busy.used.program, busy.used.at).c_str(), ratio),
      "< 0.2% of a core, < 1/200 of the busy loop", cpu_met);
  Row("1 Idle CPU", "wineserver on the program's behalf (minus the stand-in-alone baseline)",
      Share(server_share(ours.used), 1), "busy loop: " + Share(server_share(busy.used), 1), "< 0.5% of a core",
      server_share(ours.used) < 0.005);
  Row("1 Idle CPU", Format("wakeups of the program's threads per minute, quiet room, nobody at the keyboard (%.0f whole minutes from %.0f s after Start)",
                           ours.wakes.minutes, kSettleSeconds),
      Format("%.0f", ours.wakes.PerMinute()), Format("busy loop: %.0f", busy.wakes.PerMinute()), "at most 300",
      ours.wakes.minutes > 0 && ours.wakes.PerMinute() <= 300);
  Detail("idle: wakeups per minute of each thread, in the order they were made (the user-interface thread first): " +
         PerThread(ours.wakes));
  Detail(Format("idle: during the run: wineserver %s in all, stand-in %s (busy loop: %s, %s)",
                Share(ours.used.server, ours.used.at).c_str(), Share(ours.used.sim, ours.used.at).c_str(),
                Share(busy.used.server, busy.used.at).c_str(), Share(busy.used.sim, busy.used.at).c_str()));

  const Spread m = SpreadOf(ours.minute_error_ms), mb = SpreadOf(busy.minute_error_ms);
  Row("3 Minute cadence", Format("minute line gap minus the ideal 60.7 s (first: 60 s after the reason line), ms: mean / max (%zu minutes)", m.n),
      Format("%.1f / %.1f", m.mean, m.max),
      Format("busy loop: %.1f / %.1f (%zu minutes)", mb.mean, mb.max, mb.n), "< 20 ms per minute",
      m.n > 0 && m.max < 20);
  std::string each;
  for (double e : ours.minute_error_ms) each += Format(" %.1f", e);
  Detail("idle: each minute's lateness, ms:" + each);
  const Spread step = SpreadOf(ours.step_error_ms);
  Detail(Format("idle: a minute step's reason line after its minute line, less the 0.7 s pause, ms: mean %.1f, max %.1f",
                step.mean, step.max));

  const double growth = ours.at_end.peak_mb - ours.at_start.peak_mb;
  Row("5 Memory", Format("working set at the run's start / after %.0f min / peak, MB", ours.used.at / 60),
      Format("%.1f / %.1f / %.1f", ours.at_start.working_set_mb, ours.at_end.working_set_mb, ours.at_end.peak_mb),
      Format("busy loop after %.0f min: %.1f / %.1f / %.1f", busy.used.at / 60, busy.at_start.working_set_mb,
             busy.at_end.working_set_mb, busy.at_end.peak_mb),
      "no growth", growth < 0.25);
  return cpu_met && server_share(ours.used) < 0.005 && m.max < 20 && growth < 0.25 && ours.wakes.PerMinute() <= 300 ? 0 : 1;
}

int CompareBench(const std::wstring& exe_a, const std::wstring& exe_b, double seconds, int rounds) {
  drive::Sim sim;
  if (!sim.Ready()) {
    Detail("compare: the stand-in did not start");
    return 2;
  }
  const double server_rate = ServerBaseline(sim, 30);
  // Taken in turns, so a change in the machine's load falls on both alike.
  Cpu used[2];
  std::vector<double> minutes[2];
  Wakes wakes[2];
  for (int r = 0; r < rounds; ++r) {
    for (int k = 0; k < 2; ++k) {
      const IdleRun run = Run(sim, (k ? exe_b : exe_a).c_str(), seconds);
      if (!run.ok) {
        Detail("compare: a program did not start or its run did not begin");
        return 2;
      }
      used[k].at += run.used.at;
      used[k].program += run.used.program;
      used[k].server += run.used.server;
      minutes[k].insert(minutes[k].end(), run.minute_error_ms.begin(), run.minute_error_ms.end());
      wakes[k].minutes += run.wakes.minutes;
      wakes[k].all += run.wakes.all;
      wakes[k].threads.resize(std::max(wakes[k].threads.size(), run.wakes.threads.size()));
      for (std::size_t i = 0; i < run.wakes.threads.size(); ++i) wakes[k].threads[i] += run.wakes.threads[i];
    }
  }
  auto figures = [&](int k) {
    const Spread m = SpreadOf(minutes[k]);
    return Format("program %s, wineserver on its behalf %s, minute lateness %.1f ms (mean of %zu)",
                  Share(used[k].program, used[k].at).c_str(),
                  Share(used[k].server - server_rate * used[k].at, used[k].at).c_str(), m.mean, m.n);
  };
  Row("Compare", Format("regular run, %d x %.0f s each, taken in turns", rounds, seconds),
      drive::Narrow(exe_b) + ": " + figures(1), drive::Narrow(exe_a) + ": " + figures(0));
  Row("Compare", Format("wakeups of the program's threads per minute, quiet room, nobody at the keyboard (%d x %.0f whole minutes from %.0f s after Start)",
                        rounds, wakes[1].minutes / rounds, kSettleSeconds),
      drive::Narrow(exe_b) + Format(": %.0f", wakes[1].PerMinute()),
      drive::Narrow(exe_a) + Format(": %.0f", wakes[0].PerMinute()));
  for (int k = 1; k >= 0; --k) {
    Detail("compare: wakeups per minute of each thread of " + drive::Narrow(k ? exe_b : exe_a) +
           ", in the order they were made (the user-interface thread first): " + PerThread(wakes[k]));
  }
  return 0;
}

}  // namespace bench
