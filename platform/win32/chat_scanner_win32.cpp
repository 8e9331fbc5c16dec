#include "platform/win32/chat_scanner_win32.h"

#include <richedit.h>

#include <string>

#include "aol/chat_room.h"
#include "platform/win32/window_system_win32.h"

namespace zantic::win32 {
namespace {

constexpr DWORD kReadTimeoutMs = 2000;
constexpr std::size_t kSlack = 4096;           // characters read beyond the reported end
constexpr std::size_t kKeptChars = 256 * 1024;  // lent memory kept between reads

// Reads the transcript of another program's chat room through memory lent in that
// program: EM_GETTEXTRANGE writes there, and we copy it back.
class RemoteTranscriptReader : public TranscriptReader {
 public:
  ~RemoteTranscriptReader() override { Release(); }

  Hwnd Transcript() override {
    const Hwnd room = FindChatRoom(windows_);
    return windows_.FindWindowExA(room, kNoWindow, "RICHCNTL", std::nullopt);
  }

  // The stretch is read with one message, so it is one state of the transcript, whole
  // lines only: lines drop off the top between any two messages. The range reaches past
  // the reported end, where the control stops by itself; a stretch that fills it is read
  // again with more room.
  std::optional<std::u16string> ReadFrom(Hwnd transcript, long from) override {
    HWND h = reinterpret_cast<HWND>(transcript);
    DWORD_PTR length = 0;  // counts a break as two: never less than the text
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kReadTimeoutMs,
                             &length)) {
      return std::nullopt;
    }
    const bool unicode = IsWindowUnicode(h);
    std::size_t chars = (length > static_cast<DWORD_PTR>(from) ? length - from : 0) + kSlack;
    for (;; chars *= 2) {
      if (!Lend(h, chars)) return ReadWhole(h, from);
      TEXTRANGEW range{};
      range.chrg.cpMin = from;
      range.chrg.cpMax = from + static_cast<long>(chars);
      range.lpstrText = reinterpret_cast<LPWSTR>(remote_text_);
      if (!WriteProcessMemory(process_, remote_range_, &range, sizeof range, nullptr)) return Fail();
      DWORD_PTR got = 0;
      if (!SendMessageTimeoutW(h, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(remote_range_),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, kReadTimeoutMs, &got)) {
        return std::nullopt;
      }
      if (got >= chars) continue;
      std::u16string text;
      if (unicode) {
        text.resize(got);
        if (got && !ReadProcessMemory(process_, remote_text_, text.data(), got * 2, nullptr)) return Fail();
      } else {
        std::string ansi(got, '\0');
        if (got && !ReadProcessMemory(process_, remote_text_, ansi.data(), got, nullptr)) return Fail();
        text = Widen(ansi, CP_ACP);
      }
      if (lent_chars_ > kKeptChars) Release();  // a long history read: give the memory back
      return text;
    }
  }

 private:
  static std::u16string Widen(const std::string& text, UINT code_page) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()),
                        reinterpret_cast<wchar_t*>(wide.data()), n);
    return wide;
  }

  // A read that failed on the other program's memory (it may have ended): the next read
  // starts afresh.
  std::optional<std::u16string> Fail() {
    Release();
    return std::nullopt;
  }

  // Memory in the transcript's program for the range and `chars` characters; false when
  // we may not have it (another user's or an elevated program).
  bool Lend(HWND h, std::size_t chars) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != pid_ || !process_) {
      Release();
      pid_ = pid;
      process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                 PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
      if (!process_) return false;
    }
    if (remote_range_ && chars <= lent_chars_) return true;
    if (remote_range_) VirtualFreeEx(process_, remote_range_, 0, MEM_RELEASE);
    const std::size_t offset = (sizeof(TEXTRANGEW) + 15) & ~std::size_t{15};
    remote_range_ = VirtualAllocEx(process_, nullptr, offset + (chars + 1) * sizeof(wchar_t),
                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    remote_text_ = remote_range_ ? static_cast<char*>(remote_range_) + offset : nullptr;
    lent_chars_ = remote_range_ ? chars : 0;
    return remote_range_ != nullptr;
  }

  void Release() {
    if (process_) {
      if (remote_range_) VirtualFreeEx(process_, remote_range_, 0, MEM_RELEASE);
      CloseHandle(process_);
    }
    process_ = nullptr;
    remote_range_ = nullptr;
    remote_text_ = nullptr;
    lent_chars_ = 0;
    pid_ = 0;
  }

  // Without lent memory: the whole text (its breaks as the box gives them, \r\n each,
  // counted once as the box counts them).
  std::optional<std::u16string> ReadWhole(HWND h, long from) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kReadTimeoutMs, &length)) {
      return std::nullopt;
    }
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, kReadTimeoutMs, &got)) {
      return std::nullopt;
    }
    text.resize(got);
    std::u16string flat;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      flat += text[i] == u'\n' ? u'\r' : text[i];
    }
    return from >= static_cast<long>(flat.size()) ? std::u16string() : flat.substr(static_cast<std::size_t>(from));
  }

  Win32WindowSystem windows_;
  DWORD pid_ = 0;
  HANDLE process_ = nullptr;
  void* remote_range_ = nullptr;
  void* remote_text_ = nullptr;
  std::size_t lent_chars_ = 0;
};

}  // namespace

Win32ChatScanner::Win32ChatScanner(HWND window, UINT message, DWORD interval_ms)
    : window_(window), message_(message), interval_ms_(interval_ms) {}

Win32ChatScanner::~Win32ChatScanner() {
  if (thread_) {
    SetEvent(stop_);
    // A worker stuck in a hung client's window is left to the end of the process.
    WaitForSingleObject(thread_, 500);
    CloseHandle(thread_);
  }
  if (stop_) CloseHandle(stop_);
}

void Win32ChatScanner::StartScanning() {
  if (thread_) return;
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, &Win32ChatScanner::Worker, this, 0, nullptr);
}

DWORD WINAPI Win32ChatScanner::Worker(void* self) {
  static_cast<Win32ChatScanner*>(self)->Run();
  return 0;
}

void Win32ChatScanner::Run() {
  RemoteTranscriptReader reader;
  TranscriptTracker tracker;
  tracker.Poll(reader);  // what the room holds now is history
  while (WaitForSingleObject(stop_, interval_ms_) == WAIT_TIMEOUT) {
    auto lines = tracker.Poll(reader);
    if (lines.empty()) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.insert(pending_.end(), std::make_move_iterator(lines.begin()),
                    std::make_move_iterator(lines.end()));
    if (!announced_) {
      announced_ = true;
      PostMessageW(window_, message_, 0, 0);
    }
  }
}

std::vector<ChatLineReport> Win32ChatScanner::TakeLines() {
  std::lock_guard<std::mutex> lock(mutex_);
  announced_ = false;
  return std::move(pending_);
}

}  // namespace zantic::win32
