#include "drive/sim.h"

#include "core/announcement.h"
#include "drive/input.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

namespace drive {

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

namespace {

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
    const std::wstring name = found.cFileName, path = dir + L"\\" + name;
    if (name == L"." || name == L"..") continue;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path);
    } else {
      DeleteFileW(path.c_str());
    }
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  RemoveDirectoryW(dir.c_str());
}

}  // namespace

TempDir::~TempDir() { RemoveTree(path); }

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

bool Soak() { return GetEnvironmentVariableW(L"ZANTIC_SOAK", nullptr, 0) > 0; }

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

Sim::Sim(Options options, std::wstring log) : options_(std::move(options)) {
  keep_log_ = !log.empty();
  if (keep_log_) {
    log_path_ = std::move(log);
    const auto slash = log_path_.find_last_of(L"\\/");
    if (slash != std::wstring::npos) dir_ = log_path_.substr(0, slash);
  } else {
    dir_ = MakeTempDir(L"aolsim");
    log_path_ = dir_ + L"\\aolsim.log";
  }
  Launch();
}

bool Sim::CrashAndRestart() {
  if (!Crash()) return false;
  Kill();
  DeleteFileW(log_path_.c_str());  // so no line of the old log is taken for the new one's
  events_.clear();
  log_offset_ = 0;
  partial_.clear();
  Launch();
  return Ready();
}

void Sim::Launch() {
  std::wstring args = L"--screen-name \"" + options_.screen_name + L"\" --log \"" + log_path_ + L"\" " +
                      options_.extra_args;
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

Sim::~Sim() {
  Kill();
  // The log goes with the stand-in unless someone wants to read it afterwards.
  if (!keep_log_ && !GetEnvironmentVariableW(L"ZANTIC_KEEP_SIM_LOGS", nullptr, 0)) {
    DeleteFileW(log_path_.c_str());
    RemoveDirectoryW(dir_.c_str());
  }
}

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

const std::vector<Event>& Sim::Events() const {
  // Reads on from where the last call stopped; a line still being written waits for the
  // next call.
  HANDLE file = CreateFileW(log_path_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return events_;
  LARGE_INTEGER offset;
  offset.QuadPart = static_cast<LONGLONG>(log_offset_);
  SetFilePointerEx(file, offset, nullptr, FILE_BEGIN);
  std::string content = partial_;
  std::vector<char> buffer(1 << 20);
  DWORD got = 0;
  while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
    content.append(buffer.data(), got);
    log_offset_ += got;
  }
  CloseHandle(file);
  std::size_t start = 0;
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    if (auto event = ParseEventLine(content.substr(start, end - start))) events_.push_back(*event);
  }
  partial_ = content.substr(start);
  return events_;
}

std::vector<Event> Sim::ChatLines() const {
  std::vector<Event> lines;
  for (auto& e : Events()) {
    if (e.event() == "chat") lines.push_back(e);
  }
  return lines;
}

std::vector<std::string> Sim::ChatTexts() const {
  std::vector<std::string> texts;
  for (auto& e : ChatLines()) texts.push_back(e["text"]);
  return texts;
}

int Sim::Count(const std::string& text, double after) const {
  int n = 0;
  for (auto& e : ChatLines()) n += e.t() > after && e["text"] == text;
  return n;
}

std::vector<std::string> Sim::ShownFrom(const std::string& first) const {
  std::vector<std::string> shown;
  for (auto& e : ChatLines()) {
    if (!shown.empty() || e["shown"] == first) shown.push_back(e["shown"]);
  }
  return shown;
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

bool Sim::Say(const std::string& speaker, const std::string& text) {
  return Control("say " + speaker + "\t" + text);
}

std::optional<Event> Sim::WaitFor(const std::string& event, const std::string& key,
                                  const std::string& value, std::chrono::milliseconds timeout) {
  return WaitForAfter(-1, event, key, value, timeout);
}

std::optional<Event> Sim::WaitForAfter(double after, const std::string& event, const std::string& key,
                                       const std::string& value, std::chrono::milliseconds timeout) {
  return WaitForEvent(
      [&](const Event& e) {
        return e.t() > after && e.event() == event && (key.empty() || e[key] == value);
      },
      1, timeout);
}

std::optional<Event> Sim::WaitForChat(const std::string& text, std::chrono::milliseconds timeout) {
  return WaitFor("chat", "text", text, timeout);
}

std::optional<Sim::Exchange> Sim::Ask(const std::string& speaker, const std::string& text,
                                      const std::string& answer, std::chrono::milliseconds timeout) {
  const std::size_t before = Events().size();
  if (!Say(speaker, text)) return std::nullopt;
  std::optional<Exchange> found;
  WaitUntil(
      [&] {
        const auto& events = Events();
        std::optional<Event> said;
        for (std::size_t i = before; i < events.size() && !found; ++i) {
          const Event& e = events[i];
          if (e.event() != "chat") continue;
          if (!said && e["speaker"] == speaker && e["text"] == text) {
            said = e;
          } else if (said && e["text"] == answer) {
            found = Exchange{*said, e};
          }
        }
        return found.has_value();
      },
      timeout);
  return found;
}

bool Sim::WaitUntilProgramReads(std::chrono::milliseconds timeout) {
  // A try waits a little more than the scanner's slowest pace (a look every 3 s with
  // nobody at the keyboard) and the answer's way into the room.
  constexpr auto kTry = std::chrono::milliseconds(3500);
  const std::string user = Narrow(options_.screen_name);
  return WaitUntil([&] { return Ask(user, "show", zantic::ShownLine(), kTry).has_value(); }, timeout);
}

HWND Sim::FirstRoom() const {
  HWND mdi = FindWindowExW(frame_, nullptr, L"MDIClient", nullptr);
  for (HWND child = FindWindowExW(mdi, nullptr, L"AOL Child", nullptr); child;
       child = FindWindowExW(mdi, child, L"AOL Child", nullptr)) {
    bool all = true;
    for (const wchar_t* cls : {L"RICHCNTL", L"_AOL_Listbox", L"_AOL_Icon", L"_AOL_Static"}) {
      if (!FindWindowExW(child, nullptr, cls, nullptr)) all = false;
    }
    if (all) return child;
  }
  return nullptr;
}

HWND Sim::Transcript() const {
  HWND room = FirstRoom();
  return room ? FindWindowExW(room, nullptr, L"RICHCNTL", nullptr) : nullptr;
}

HWND Sim::EntryBox() const {
  HWND room = FirstRoom();
  return room ? FindWindowExW(room, FindWindowExW(room, nullptr, L"RICHCNTL", nullptr), L"RICHCNTL", nullptr)
              : nullptr;
}

void Sim::TypeAsTheUser(const std::string& text) const {
  RECT box{};
  GetWindowRect(EntryBox(), &box);
  Click(POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  TypeText(text);
  Key(VK_RETURN);
}

bool Sim::Crash(std::chrono::milliseconds timeout) {
  if (!process_) return true;
  Control("exit");
  return WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

RemoteRichEdit::RemoteRichEdit(HWND window) : window_(window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process_) Reserve(64 * 1024);
}

RemoteRichEdit::~RemoteRichEdit() {
  if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

bool RemoteRichEdit::Reserve(std::size_t bytes) {
  if (bytes <= size_) return true;
  if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  memory_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  size_ = memory_ ? bytes : 0;
  return memory_ != nullptr;
}

namespace {

LRESULT SendBounded(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, msg, wparam, lparam, SMTO_BLOCK, 5000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

}  // namespace

long RemoteRichEdit::Length() {
  if (!memory_) return -1;
  const GETTEXTLENGTHEX request{GTL_NUMCHARS | GTL_PRECISE, 1200};
  if (!WriteProcessMemory(process_, memory_, &request, sizeof request, nullptr)) return -1;
  return static_cast<long>(SendBounded(window_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(memory_), 0));
}

std::wstring RemoteRichEdit::Range(long start, long end) {
  if (end <= start) return {};
  const std::size_t chars = static_cast<std::size_t>(end - start);
  if (!Reserve(sizeof(TEXTRANGEW) + (chars + 1) * sizeof(wchar_t))) return {};
  auto* remote_text = reinterpret_cast<wchar_t*>(static_cast<char*>(memory_) + sizeof(TEXTRANGEW));
  TEXTRANGEW range{{start, end}, remote_text};
  if (!WriteProcessMemory(process_, memory_, &range, sizeof range, nullptr)) return {};
  const LRESULT n = SendBounded(window_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(memory_));
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  if (!ReadProcessMemory(process_, remote_text, text.data(), text.size() * sizeof(wchar_t), nullptr)) return {};
  return text;
}

std::vector<std::wstring> RemoteRichEdit::Paragraphs() {
  // One read, so it sees the text as it stood between two changes: its end is set beyond
  // the text, where the control stops by itself. A text that outgrew the room left for it
  // is read again.
  std::wstring text;
  for (long room = std::max(0L, Length()) + 4096;; room *= 2) {
    text = Range(0, room);
    if (static_cast<long>(text.size()) < room) break;
  }
  std::vector<std::wstring> paragraphs;
  if (text.empty()) return paragraphs;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == L'\r') {
      paragraphs.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return paragraphs;
}

std::optional<CHARFORMAT2W> RemoteRichEdit::FormatAt(long pos) {
  if (!memory_) return std::nullopt;
  SendBounded(window_, EM_SETSEL, static_cast<WPARAM>(pos), pos + 1);
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  if (!WriteProcessMemory(process_, memory_, &format, sizeof format, nullptr)) return std::nullopt;
  SendBounded(window_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(memory_));
  if (!ReadProcessMemory(process_, memory_, &format, sizeof format, nullptr)) return std::nullopt;
  return format;
}

bool CaptureWindow(HWND window, const std::wstring& bmp_path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;  // bottom-up, as a BMP file keeps its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = static_cast<DWORD>((w * 3 + 3) & ~3);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(h);
  bool written = false;
  HANDLE out = CreateFileW(bmp_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (copied && out != INVALID_HANDLE_VALUE) {
    DWORD n = 0;
    written = WriteFile(out, &file, sizeof file, &n, nullptr) &&
              WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &n, nullptr) &&
              WriteFile(out, bits, stride * static_cast<DWORD>(h), &n, nullptr);
  }
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

}  // namespace drive
