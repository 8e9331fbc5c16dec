#include "bench/session.h"

#include <psapi.h>

#include "bench/report.h"
#include "core/announcement.h"

namespace bench {

Processes::Processes(const drive::Sim& sim, const drive::Program* program) {
  (void)sim;  // one stand-in runs in the benchmarks' prefix at a time
  sim_ = FindWineProcess("aolsim.exe");
  server_ = FindWineserver();
  if (program) program_ = FindWineProcess(drive::Narrow(program->Exe()));
}

Cpu Processes::Now() const {
  Cpu c;
  c.at = bench::Now();
  c.program = CpuSeconds(program_).value_or(0);
  c.sim = CpuSeconds(sim_).value_or(0);
  c.server = CpuSeconds(server_).value_or(0);
  return c;
}

Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, &counters, sizeof counters);
  return Memory{static_cast<double>(counters.WorkingSetSize) / (1 << 20),
                static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20)};
}

std::optional<double> StartRegularRun(const drive::Program& program, drive::Sim& sim) {
  const std::size_t before = sim.Events().size();
  program.Click(zantic::Control::Label4);
  program.Type(zantic::Control::Text1, "bench");
  program.Click(zantic::Control::Label7);
  const std::string reason = zantic::ReasonLine("bench");
  std::optional<double> at;
  drive::WaitUntil([&] {
    const auto events = sim.Events();
    for (std::size_t i = before; i < events.size(); ++i) {
      if (events[i].event() == "chat" && events[i]["text"] == reason) at = events[i].t();
    }
    return at.has_value();
  });
  return at;
}

std::string Share(double cpu_seconds, double wall_seconds) {
  return Format("%.3f%%", wall_seconds > 0 ? 100 * cpu_seconds / wall_seconds : 0);
}

}  // namespace bench
