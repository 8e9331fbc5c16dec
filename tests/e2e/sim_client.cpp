#include "sim_client.h"

#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

const std::string& Event::operator[](const std::string& key) const {
  static const std::string empty;
  auto it = fields.find(key);
  return it == fields.end() ? empty : it->second;
}

double Event::t() const { return std::atof((*this)["t"].c_str()); }

std::optional<Event> ParseEventLine(const std::string& line) {
  Event event;
  std::size_t i = 0;
  auto skip = [&] { while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i; };
  auto string_at = [&]() -> std::optional<std::string> {
    if (i >= line.size() || line[i] != '"') return std::nullopt;
    ++i;
    std::string out;
    while (i < line.size() && line[i] != '"') {
      char c = line[i++];
      if (c != '\\') {
        out += c;
        continue;
      }
      if (i >= line.size()) return std::nullopt;
      char e = line[i++];
      switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          if (i + 4 > line.size()) return std::nullopt;
          const unsigned code = static_cast<unsigned>(std::stoul(line.substr(i, 4), nullptr, 16));
          i += 4;
          out += Narrow(std::wstring(1, static_cast<wchar_t>(code)));
          break;
        }
        default: out += e;
      }
    }
    if (i >= line.size()) return std::nullopt;
    ++i;
    return out;
  };
  skip();
  if (i >= line.size() || line[i++] != '{') return std::nullopt;
  for (;;) {
    skip();
    auto key = string_at();
    if (!key) return std::nullopt;
    skip();
    if (i >= line.size() || line[i++] != ':') return std::nullopt;
    skip();
    std::string value;
    if (i < line.size() && line[i] == '"') {
      auto v = string_at();
      if (!v) return std::nullopt;
      value = *v;
    } else {
      while (i < line.size() && line[i] != ',' && line[i] != '}') value += line[i++];
    }
    event.fields[*key] = value;
    skip();
    if (i < line.size() && line[i] == ',') {
      ++i;
      continue;
    }
    if (i < line.size() && line[i] == '}') return event;
    return std::nullopt;
  }
}

std::wstring BuildDir() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  return dir.substr(0, dir.find_last_of(L"\\/"));
}

std::wstring MakeTempDir(const std::wstring& prefix) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    std::wstring dir = std::wstring(base) + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) +
                       L"-" + std::to_wstring(++counter);
    if (CreateDirectoryW(dir.c_str(), nullptr)) return dir;
  }
}

HANDLE StartProgram(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd) {
  std::wstring command = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      cwd.empty() ? nullptr : cwd.c_str(), &si, &pi)) {
    return nullptr;
  }
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

Sim::Sim(Options options) {
  dir_ = MakeTempDir(L"aolsim");
  log_path_ = dir_ + L"\\aolsim.log";
  std::wstring args = L"--screen-name \"" + options.screen_name + L"\" --log \"" + log_path_ + L"\" " +
                      options.extra_args;
  process_ = StartProgram(BuildDir() + L"\\aolsim.exe", args, dir_);
  if (!process_) return;
  // Ready once it logged so, and its frame is the one the program will find.
  if (WaitForEvent([](const Event& e) { return e.event() == "ready"; })) {
    const DWORD pid = GetProcessId(process_);
    WaitUntil([&] {
      for (HWND w = FindWindowW(L"AOL Frame25", nullptr); w;
           w = FindWindowExW(nullptr, w, L"AOL Frame25", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) {
          frame_ = w;
          return true;
        }
      }
      return false;
    });
  }
}

Sim::~Sim() { Kill(); }

void Sim::Kill() {
  if (!process_) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
  // The window system destroys a dead program's windows a moment after it ends; the next
  // test must not find them.
  const HWND frame = frame_;
  WaitUntil([frame] { return !frame || !IsWindow(frame); }, std::chrono::seconds(5));
  CloseHandle(process_);
  process_ = nullptr;
  frame_ = nullptr;
}

bool Sim::Control(const std::string& command) {
  if (!frame_) return false;
  COPYDATASTRUCT data{};
  data.dwData = 0x5A49;
  data.cbData = static_cast<DWORD>(command.size());
  data.lpData = const_cast<char*>(command.data());
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(frame_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_BLOCK,
                             5000, &result) &&
         result == TRUE;
}

std::vector<Event> Sim::Events() const {
  std::vector<Event> events;
  HANDLE file = CreateFileW(log_path_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return events;
  std::string content;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  std::size_t start = 0;
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    if (auto event = ParseEventLine(content.substr(start, end - start))) events.push_back(*event);
  }
  return events;
}

std::vector<Event> Sim::ChatLines() const {
  std::vector<Event> lines;
  for (auto& e : Events()) {
    if (e.event() == "chat") lines.push_back(e);
  }
  return lines;
}

std::optional<Event> Sim::WaitForEvent(const std::function<bool(const Event&)>& match, int n,
                                       std::chrono::milliseconds timeout) {
  std::optional<Event> found;
  WaitUntil(
      [&] {
        int seen = 0;
        for (auto& e : Events()) {
          if (match(e) && ++seen == n) {
            found = e;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

}  // namespace e2e
