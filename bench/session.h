// Running the program against the stand-in for a benchmark: the Linux processes behind
// them, their processor time, the program's working set, and a regular idle run.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "bench/proc_stats.h"
#include "drive/program.h"
#include "drive/sim.h"

namespace bench {

// Processor seconds of the program, the stand-in and the wineserver at one moment.
struct Cpu {
  double at = 0, program = 0, sim = 0, server = 0;
  Cpu operator-(const Cpu& o) const { return {at - o.at, program - o.program, sim - o.sim, server - o.server}; }
};

// The three processes of one session, found by their command lines in this Wine prefix.
class Processes {
 public:
  Processes(const drive::Sim& sim, const drive::Program* program);
  Cpu Now() const;
  UnixPid program() const { return program_; }

 private:
  UnixPid program_ = 0, sim_ = 0, server_ = 0;
};

struct Memory {
  double working_set_mb = 0, peak_mb = 0;
};
Memory MemoryOf(HANDLE process);

// Picks "reg. idle", types a reason and presses Start; returns the stand-in's time of the
// reason line (ms), once it has come, or nothing.
std::optional<double> StartRegularRun(const drive::Program& program, drive::Sim& sim);

// The percentage of one core.
std::string Share(double cpu_seconds, double wall_seconds);

}  // namespace bench
