// What the Linux kernel knows about the processes Wine runs, read from /proc through Wine's
// Z: drive: processor time to the nanosecond, and which Linux process runs which program.
// Under Wine 8, GetProcessTimes gives zero for another process, so the benchmarks read the
// kernel's own figures; for the wineserver there is no other source.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bench {

// A Linux process id; 0 for none.
using UnixPid = int;

// The Linux process of this Wine prefix whose command line begins with `program` (a Windows
// path, compared without regard to case), or whose first word ends with it.
UnixPid FindWineProcess(const std::string& program);
// The wineserver that serves this Wine prefix.
UnixPid FindWineserver();

// Processor time spent by every thread of the process so far, in seconds; nothing when the
// process is gone. (Threads that have ended no longer count: the benchmarks measure
// processes whose threads live as long as they do.)
std::optional<double> CpuSeconds(UnixPid pid);
// Processor time spent by the calling thread so far, in seconds, to the kernel's tick
// (10 ms). (Files of /proc are opened by the wineserver under Wine, so /proc/self and
// /proc/thread-self name the wineserver: a process cannot find itself there.)
double ThisThreadCpuSeconds();

// How often each thread of the process has gone to sleep so far: its voluntary context
// switches (each one is a wakeup later), by Linux thread id, in the order the threads were
// made. Under Wine every call to the wineserver is one, besides every wait and sleep.
struct ThreadWakes {
  UnixPid tid = 0;
  long long voluntary = 0;
};
std::vector<ThreadWakes> WakesOf(UnixPid pid);

// A line of uptime's kind: "load average 0.12 0.30 0.41".
std::string LoadAverage();

}  // namespace bench
