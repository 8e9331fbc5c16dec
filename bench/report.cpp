#include "bench/report.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <numeric>

namespace bench {

double Now() {
  static const double seconds_per_tick = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1.0 / static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * seconds_per_tick;
}

Spread SpreadOf(std::vector<double> v) {
  Spread s;
  s.n = v.size();
  if (v.empty()) return s;
  std::sort(v.begin(), v.end());
  auto rank = [&](double q) { return v[static_cast<std::size_t>(std::ceil(q * v.size())) - 1]; };
  s.min = v.front();
  s.max = v.back();
  s.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
  s.p99 = rank(0.99);
  s.mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
  return s;
}

std::string Format(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

void Row(const std::string& bench, const std::string& figure, const std::string& ours,
         const std::string& reference, const std::string& target, bool met) {
  std::printf("| %s | %s | %s | %s | %s | %s |\n", bench.c_str(), figure.c_str(), ours.c_str(),
              reference.c_str(), target.c_str(), met ? "yes" : "**no**");
  std::fflush(stdout);
}

void Row(const std::string& bench, const std::string& figure, const std::string& ours,
         const std::string& reference) {
  std::printf("| %s | %s | %s | %s | | |\n", bench.c_str(), figure.c_str(), ours.c_str(), reference.c_str());
  std::fflush(stdout);
}

void Detail(const std::string& text) {
  std::printf("# %s\n", text.c_str());
  std::fflush(stdout);
}

void SleepFor(double seconds) {
  const double end = Now() + seconds;
  for (double left; (left = end - Now()) > 0;) Sleep(static_cast<DWORD>(std::ceil(left * 1000)));
}

}  // namespace bench
