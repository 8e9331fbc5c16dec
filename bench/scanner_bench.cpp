// The chat scanner: how soon a line of the room reaches the program, what one poll costs
// with a small and a large transcript, and whether a flood is read whole.
#include <map>
#include <random>
#include <set>

#include "bench/benchmarks.h"
#include "bench/report.h"
#include "bench/session.h"
#include "aol/room_scanner.h"
#include "core/announcement.h"
#include "drive/input.h"

namespace bench {
namespace {

using zantic::RoomScanner;
constexpr double kPollSeconds = RoomScanner::kInputTickMs / 1000.0;  // while someone is at the keyboard
// In a quiet room with nobody at the keyboard the scanner sleeps this long between looks.
constexpr double kQuietLookSeconds = RoomScanner::kQuietTickMs / 1000.0;
constexpr double kQuietLooksPerSecond = 1 / kQuietLookSeconds;

// Presses and releases Enter through the input queue, without waiting after it.
void PressEnter() {
  INPUT keys[2]{};
  for (int i = 0; i < 2; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = VK_RETURN;
    keys[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(2, keys, sizeof(INPUT));
}

// From the user's "hide" or "show" entering the transcript to the window hidden or shown,
// watched every millisecond; and to the program's answer line in the room, on the
// stand-in's clock. The user types the command into the stand-in's entry box, as a person
// does (the mouse and keyboard through the input queue), and the figure counts from the
// press of Enter. The same, said through the stand-in's control channel with nobody at the
// keyboard, as a second figure: the scanner then looks every 3 s.
struct LatencySamples {
  std::vector<double> latency_ms, answer_ms;
  int wrong_state = 0;
};

LatencySamples Samples(drive::Sim& sim, drive::Program& program, int samples, bool typed) {
  std::mt19937 random(12345);
  LatencySamples out;
  for (int i = 0; i < samples; ++i) {
    const bool hide = i % 2 == 0;
    const std::string command = hide ? "hide" : "show";
    const std::string answer = hide ? zantic::HiddenLine() : zantic::ShownLine();
    const std::size_t before = sim.Events().size();
    double said_at = 0;
    if (typed) {
      RECT box{};
      GetWindowRect(sim.EntryBox(), &box);
      drive::Click(POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
      drive::TypeText(command);
      said_at = Now();
      PressEnter();
    } else {
      sim.Say("Pat Doe", command);
      said_at = Now();
    }
    while ((IsWindowVisible(program.Window()) != FALSE) == hide && Now() - said_at < 5) Sleep(1);
    if ((IsWindowVisible(program.Window()) != FALSE) != hide) out.latency_ms.push_back((Now() - said_at) * 1000);
    std::optional<double> said, answered;
    drive::WaitUntil([&] {
      const auto events = sim.Events();
      for (std::size_t k = before; k < events.size(); ++k) {
        if (events[k].event() != "chat" || events[k]["speaker"] != "Pat Doe") continue;
        if (events[k]["text"] == command) said = events[k].t();
        if (events[k]["text"] == answer) answered = events[k].t();
      }
      return said && answered;
    }, std::chrono::seconds(5));
    if (said && answered) out.answer_ms.push_back(*answered - *said);
    if ((IsWindowVisible(program.Window()) != FALSE) == hide) ++out.wrong_state;
    // Land the next line anywhere in the poll interval: a wait of a fixed part and a part
    // spread evenly over one whole interval puts it at any phase of the polls alike. Said
    // with nobody at the keyboard, wait longer: long enough for the scanner's quiet pace.
    SleepFor((typed ? 0.1 : 6) + std::uniform_real_distribution<double>(0, typed ? kPollSeconds : kQuietLookSeconds)(random));
  }
  return out;
}

int Latency(int samples) {
  drive::Sim sim;
  drive::Program program;
  if (!sim.Ready() || !program.Ready()) {
    Detail("scanner: the stand-in or the program did not start");
    return 2;
  }
  // Out of the way of the stand-in's entry box.
  SetWindowPos(program.Window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LatencySamples typed = Samples(sim, program, samples, true);
  const LatencySamples unattended = Samples(sim, program, std::max(4, samples / 4), false);
  const Spread s = SpreadOf(typed.latency_ms), a = SpreadOf(typed.answer_ms), u = SpreadOf(unattended.latency_ms);
  const bool met = static_cast<int>(s.n) == samples && typed.wrong_state == 0 && s.median < 150;
  Row("4 Scanner", Format("latency from the user's \"hide\"/\"show\" (typed, Enter pressed) to the window hidden/shown, ms: median / p99 / max (n = %zu of %d)", s.n, samples),
      Format("%.1f / %.1f / %.1f", s.median, s.p99, s.max), Format("the %.0f ms look alone: %.0f / %.0f / %.0f", kPollSeconds * 1000, kPollSeconds * 500,
                                                  kPollSeconds * 990, kPollSeconds * 1000),
      "median < 150", met);
  Detail(Format("scanner: to the answer line in the room (\"i-face has been hidden/shown\"), ms: median %.1f, "
                "p99 %.1f (n = %zu)", a.median, a.p99, a.n));
  Detail(Format("scanner: the same said through the stand-in's control channel with nobody at the keyboard "
                "(the quiet pace, a look every %.1f s), ms: median %.1f, max %.1f (n = %zu)",
                kQuietLookSeconds, u.median, u.max, u.n));
  if (typed.wrong_state) Detail(Format("scanner: the window was in the wrong state %d times", typed.wrong_state));
  return met ? 0 : 1;
}

struct PollCost {
  double program_us = 0, sim_us = 0;
  double whole_read_ms = 0, whole_read_sim_ms = 0;  // one read of the whole transcript: wall, stand-in CPU
  std::size_t chars = 0;
};

// A quiet room whose transcript holds `lines` lines: the program's processor time per poll,
// next to one read of the whole transcript (what a scanner without an anchor would do).
std::optional<PollCost> QuietPolls(int lines, double seconds) {
  drive::Sim sim(drive::Sim::Options{L"Pat Doe", L"--max-lines " + std::to_wstring(lines)});
  if (!sim.Ready()) return std::nullopt;
  sim.Control(Format("flood 20000 %.3f", lines / 20000.0));
  if (!sim.WaitForEvent([](const drive::Event& e) { return e.event() == "flood" && e["state"] == "end"; }, 1,
                        std::chrono::seconds(300))) {
    return std::nullopt;
  }
  drive::Program program;
  if (!program.Ready()) return std::nullopt;
  SleepFor(2);  // the first look reads the whole transcript, as history
  const Processes processes(sim, &program);
  const Cpu start = processes.Now();
  SleepFor(seconds);
  const Cpu used = processes.Now() - start;
  PollCost cost;
  cost.program_us = used.program / (used.at * kQuietLooksPerSecond) * 1e6;
  cost.sim_us = used.sim / (used.at * kQuietLooksPerSecond) * 1e6;

  const HWND transcript = sim.Transcript();
  constexpr int kReads = 20;
  const Cpu before = processes.Now();
  for (int i = 0; i < kReads; ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(transcript, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 10000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(transcript, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_BLOCK,
                        10000, &got);
    cost.chars = got;
  }
  const Cpu reads = processes.Now() - before;
  cost.whole_read_ms = reads.at / kReads * 1e3;
  cost.whole_read_sim_ms = reads.sim / kReads * 1e3;
  return cost;
}

int TranscriptSize(double seconds) {
  const auto small = QuietPolls(1000, seconds);
  const auto large = QuietPolls(100000, seconds);
  if (!small || !large) {
    Detail("scanner: a quiet-room run did not come about");
    return 2;
  }
  const double ratio = large->program_us / small->program_us;
  Row("4 Scanner", Format("CPU per look in a quiet room with nobody at the keyboard (everything the scanner does between looks included), transcript of 1,000 / 100,000 lines (%.0f s each), µs", seconds),
      Format("%.0f / %.0f: ratio %.2f", small->program_us, large->program_us, ratio),
      Format("reading the whole transcript (WM_GETTEXT) instead: %.1f / %.1f ms per poll, of which the stand-in's "
             "CPU %.1f / %.1f ms",
             small->whole_read_ms, large->whole_read_ms, small->whole_read_sim_ms, large->whole_read_sim_ms),
      "ratio close to 1", ratio < 1.3);
  Detail(Format("scanner: the stand-in's CPU for each of the program's polls: %.0f / %.0f µs; transcripts of "
                "%zu / %zu characters", small->sim_us, large->sim_us, small->chars, large->chars));
  return ratio < 1.3 ? 0 : 1;
}

// The numbers of the flood lines the program reported, in order of report.
std::vector<long> TracedFloodNumbers(const std::wstring& trace_path) {
  std::vector<long> numbers;
  const auto bytes = drive::ReadFileBytes(trace_path);
  if (!bytes) return numbers;
  const std::string prefix = "Kim Lee\tflood ";
  for (std::size_t start = 0, end; (end = bytes->find('\n', start)) != std::string::npos; start = end + 1) {
    if (bytes->compare(start, prefix.size(), prefix) == 0) {
      numbers.push_back(std::atol(bytes->c_str() + start + prefix.size()));
    }
  }
  return numbers;
}

struct FloodRun {
  bool ok = false;
  Cpu used;
  long posted = 0;
  std::vector<long> read;
};

FloodRun Flood(const wchar_t* exe, double seconds) {
  FloodRun run;
  drive::Sim sim;
  drive::Program program(drive::Program::Options{{}, {}, true, exe});
  if (!sim.Ready() || !program.Ready()) return run;
  SleepFor(1);
  const Processes processes(sim, &program);
  const Cpu start = processes.Now();
  sim.Control(Format("flood 1000 %.0f", seconds));
  const auto end = sim.WaitForEvent([](const drive::Event& e) { return e.event() == "flood" && e["state"] == "end"; },
                                    1, std::chrono::milliseconds(static_cast<int>(seconds * 1000) + 30000));
  SleepFor(0.3);  // the last poll
  run.used = processes.Now() - start;
  if (!end) return run;
  run.posted = std::atol((*end)["lines"].c_str());
  const std::wstring trace = program.Dir() + L"\\chat-trace.txt";
  drive::WaitUntil([&] { return TracedFloodNumbers(trace).size() >= static_cast<std::size_t>(run.posted); },
                   std::chrono::seconds(3));
  run.read = TracedFloodNumbers(trace);
  run.ok = processes.program() != 0;
  return run;
}

int FloodBench(double seconds) {
  const FloodRun real = Flood(L"zantic-idle.exe", seconds);
  const FloodRun traced = Flood(L"zantic-idle-trace.exe", seconds);
  if (!real.ok || !traced.ok) {
    Detail("scanner: a flood run did not come about");
    return 2;
  }
  std::set<long> distinct(traced.read.begin(), traced.read.end());
  long lost = 0, out_of_order = 0;
  for (long n = 1; n <= traced.posted; ++n) lost += distinct.count(n) == 0;
  for (std::size_t i = 1; i < traced.read.size(); ++i) out_of_order += traced.read[i] <= traced.read[i - 1];
  const long doubled = static_cast<long>(traced.read.size() - distinct.size());
  const bool whole = traced.posted > 0 && lost == 0 && doubled == 0 && out_of_order == 0;
  Row("4 Scanner", Format("flood of 1,000 lines/s for %.0f s: lines reported / lost / doubled / out of order", seconds),
      Format("%zu of %ld / %ld / %ld / %ld", traced.read.size(), traced.posted, lost, doubled, out_of_order),
      "", "none lost, none doubled", whole);
  const double share = real.used.program / real.used.at;
  Row("4 Scanner", "CPU of the program during the flood", Share(real.used.program, real.used.at),
      Format("the stand-in posting the lines: %s; wineserver: %s", Share(real.used.sim, real.used.at).c_str(),
             Share(real.used.server, real.used.at).c_str()),
      "< 5% of a core", share < 0.05);
  Detail(Format("scanner: the build that records its reports (zantic-idle-trace.exe) took %s during its flood",
                Share(traced.used.program, traced.used.at).c_str()));
  return whole && share < 0.05 ? 0 : 1;
}

}  // namespace

int ScannerBench(int latency_samples, double quiet_seconds, double flood_seconds) {
  int status = 0;
  status |= Latency(latency_samples);
  status |= TranscriptSize(quiet_seconds);
  status |= FloodBench(flood_seconds);
  return status;
}

}  // namespace bench
