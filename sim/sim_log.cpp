#include "sim/sim_log.h"

#include <windows.h>

#include <cstdio>

namespace aolsim {
namespace {

HANDLE g_log = INVALID_HANDLE_VALUE;
LARGE_INTEGER g_start{};
double g_ms_per_tick = 0;

}  // namespace

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

void OpenLog(const std::wstring& path) {
  NowMs();
  if (path.empty()) return;
  g_log = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
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

void Log(std::string_view event,
         std::initializer_list<std::pair<std::string_view, std::string_view>> fields) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  char t[32];
  std::snprintf(t, sizeof t, "%.3f", NowMs());
  std::string line = "{\"t\":";
  line += t;
  line += ",\"event\":";
  line += JsonString(event);
  for (const auto& [key, value] : fields) {
    line += ',';
    line += JsonString(key);
    line += ':';
    line += JsonString(value);
  }
  line += "}\n";
  DWORD written = 0;
  WriteFile(g_log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace aolsim
