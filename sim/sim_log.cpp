#include "sim/sim_log.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

namespace aolsim {
namespace {

HANDLE g_log = INVALID_HANDLE_VALUE;
SRWLOCK g_lock = SRWLOCK_INIT;
LARGE_INTEGER g_start{};
double g_ms_per_tick = 0;

}  // namespace

LogValue LogValue::Number(double value) {
  LogValue v;
  char buf[40];
  if (!std::isfinite(value)) value = 0;
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(buf, sizeof buf, "%.0f", value);
  } else {
    std::snprintf(buf, sizeof buf, "%.3f", value);
  }
  v.text_ = buf;
  v.number_ = true;
  return v;
}

double NowMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (g_ms_per_tick == 0) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_ms_per_tick = 1000.0 / static_cast<double>(frequency.QuadPart);
    g_start = now;
  }
  return static_cast<double>(now.QuadPart - g_start.QuadPart) * g_ms_per_tick;
}

bool OpenLog(const std::wstring& path) {
  NowMs();
  if (path.empty()) return true;
  g_log = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return g_log != INVALID_HANDLE_VALUE;
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  out.reserve(utf8.size() + 2);
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

void Log(std::string_view event, std::initializer_list<std::pair<std::string_view, LogValue>> fields) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  std::string body = ",\"event\":";
  body += JsonString(event);
  for (const auto& [key, value] : fields) {
    body += ',';
    body += JsonString(key);
    body += ':';
    body += value.is_number() ? value.text() : JsonString(value.text());
  }
  body += "}\n";
  // The time is taken and the line written under the lock, in one write: lines of
  // different threads never interleave, their times never go back, and a reader sees each
  // line as soon as it is written.
  AcquireSRWLockExclusive(&g_lock);
  char t[48];
  std::snprintf(t, sizeof t, "{\"t\":%.3f", NowMs());
  const std::string line = t + body;
  DWORD written = 0;
  WriteFile(g_log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ReleaseSRWLockExclusive(&g_lock);
}

}  // namespace aolsim
