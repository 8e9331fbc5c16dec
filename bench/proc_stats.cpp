#include "bench/proc_stats.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace bench {
namespace {

// A file of /proc (whose size the kernel reports as 0, so it is read to its end).
std::optional<std::string> ReadProc(const std::string& path) {
  FILE* f = std::fopen(("Z:\\proc\\" + path).c_str(), "rb");
  if (!f) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  return text;
}

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(("Z:\\proc\\" + dir + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.cFileName[0] >= '0' && found.cFileName[0] <= '9') names.push_back(found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// Whether the process runs in this prefix (its environment names the same WINEPREFIX).
bool InOurPrefix(const std::string& pid) {
  static const std::string ours = [] {
    const char* prefix = std::getenv("WINEPREFIX");
    return std::string("WINEPREFIX=") + (prefix ? prefix : "");
  }();
  const auto env = ReadProc(pid + "\\environ");
  if (!env) return false;
  for (std::size_t start = 0; start < env->size();) {
    std::size_t end = env->find('\0', start);
    if (end == std::string::npos) end = env->size();
    if (env->compare(start, end - start, ours) == 0) return true;
    start = end + 1;
  }
  return false;
}

template <typename Match>
UnixPid FindProcess(Match match) {
  for (const std::string& pid : Entries("")) {
    const auto cmdline = ReadProc(pid + "\\cmdline");
    if (!cmdline || cmdline->empty()) continue;
    const std::string first = Lower(cmdline->substr(0, cmdline->find('\0')));
    if (match(first, Lower(*cmdline)) && InOurPrefix(pid)) return std::atoi(pid.c_str());
  }
  return 0;
}

}  // namespace

UnixPid FindWineProcess(const std::string& program) {
  const std::string wanted = Lower(program);
  return FindProcess([&](const std::string& first, const std::string& all) {
    return all.rfind(wanted, 0) == 0 ||
           (first.size() >= wanted.size() && first.compare(first.size() - wanted.size(), wanted.size(), wanted) == 0);
  });
}

UnixPid FindWineserver() {
  return FindProcess([](const std::string& first, const std::string&) {
    return first.find("wineserver") != std::string::npos;
  });
}

std::optional<double> CpuSeconds(UnixPid pid) {
  if (pid == 0) return std::nullopt;
  const std::string dir = std::to_string(pid);
  const auto tasks = Entries(dir + "\\task");
  if (tasks.empty()) return std::nullopt;
  double total_ns = 0;
  for (const std::string& task : tasks) {
    // The first figure of schedstat: nanoseconds spent running.
    if (const auto line = ReadProc(dir + "\\task\\" + task + "\\schedstat")) total_ns += std::atof(line->c_str());
  }
  return total_ns / 1e9;
}

std::vector<ThreadWakes> WakesOf(UnixPid pid) {
  std::vector<ThreadWakes> wakes;
  if (pid == 0) return wakes;
  const std::string dir = std::to_string(pid);
  for (const std::string& task : Entries(dir + "\\task")) {
    const auto status = ReadProc(dir + "\\task\\" + task + "\\status");
    if (!status) continue;
    const std::string key = "\nvoluntary_ctxt_switches:";
    const auto at = status->find(key);
    if (at == std::string::npos) continue;
    wakes.push_back({std::atoi(task.c_str()), std::atoll(status->c_str() + at + key.size())});
  }
  // Thread ids are handed out in turn, so the order of ids is the order of making.
  std::sort(wakes.begin(), wakes.end(), [](const ThreadWakes& a, const ThreadWakes& b) { return a.tid < b.tid; });
  return wakes;
}

double ThisThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

std::string LoadAverage() {
  const auto line = ReadProc("loadavg");
  if (!line) return "load average unknown";
  double a = 0, b = 0, c = 0;
  std::sscanf(line->c_str(), "%lf %lf %lf", &a, &b, &c);
  char text[80];
  std::snprintf(text, sizeof text, "load average %.2f %.2f %.2f", a, b, c);
  return text;
}

}  // namespace bench
