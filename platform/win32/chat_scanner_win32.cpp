#include "platform/win32/chat_scanner_win32.h"

#include <richedit.h>

#include <algorithm>
#include <string>

#include "aol/chat_room.h"
#include "platform/win32/window_system_win32.h"

namespace zantic::win32 {
namespace {

constexpr DWORD kReadTimeoutMs = 2000;
constexpr std::size_t kFirstChars = 4096;       // characters lent for the first read
constexpr std::size_t kKeptChars = 256 * 1024;  // lent memory kept between reads

// Reads the transcript of another program's chat room through memory lent in that
// program: EM_GETTEXTRANGE writes there, and we copy it back.
class RemoteTranscriptReader : public TranscriptReader {
 public:
  ~RemoteTranscriptReader() override { Release(); }

  // The room is watched rather than searched for at every look, and what was learnt of
  // its transcript (its process, its memory lent there, its character set, the range last
  // asked for) is kept while it stays the same window: a quiet look then costs a few round
  // trips to the window system instead of a score of them.
  Hwnd Transcript() override {
    const Hwnd room = rooms_.Find(windows_);
    if (room != room_) {
      room_ = room;
      transcript_ = windows_.FindWindowExA(room, kNoWindow, "RICHCNTL", std::nullopt);
    }
    return transcript_;
  }

  std::optional<std::u16string> ReadFrom(Hwnd transcript, long from) override {
    auto text = Read(reinterpret_cast<HWND>(transcript), from);
    if (!text) {
      // Gone, hung or replaced: look for the room afresh next time.
      rooms_.Forget();
      room_ = kNoWindow;
    }
    return text;
  }

 private:
  // The stretch is read with one message, so it is one state of the transcript, whole
  // lines only: lines drop off the top between any two messages. The range reaches as far
  // as the lent memory holds, past the end, where the control stops by itself; a stretch
  // that fills it is read again with twice the room.
  std::optional<std::u16string> Read(HWND h, long from) {
    for (std::size_t chars = std::max(lent_chars_, kFirstChars);; chars *= 2) {
      if (!Lend(h, chars)) return ReadWhole(h, from);
      if (from != range_from_) {
        TEXTRANGEW range{};
        range.chrg.cpMin = from;
        range.chrg.cpMax = from + static_cast<long>(lent_chars_);
        range.lpstrText = reinterpret_cast<LPWSTR>(remote_text_);
        range_from_ = -1;
        if (!WriteProcessMemory(process_, remote_range_, &range, sizeof range, nullptr)) return Fail();
        range_from_ = from;
      }
      DWORD_PTR got = 0;
      if (!SendMessageTimeoutW(h, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(remote_range_),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, kReadTimeoutMs, &got)) {
        return std::nullopt;
      }
      if (got >= lent_chars_) continue;
      std::u16string text;
      if (unicode_) {
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
    if (h != lent_for_ || !process_) {
      DWORD pid = 0;
      GetWindowThreadProcessId(h, &pid);
      unicode_ = IsWindowUnicode(h);
      if (pid != pid_ || !process_) {
        Release();
        pid_ = pid;
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                   PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        if (!process_) return false;
      }
      lent_for_ = h;
      range_from_ = -1;
    }
    if (remote_range_ && chars <= lent_chars_) return true;
    if (remote_range_) VirtualFreeEx(process_, remote_range_, 0, MEM_RELEASE);
    const std::size_t offset = (sizeof(TEXTRANGEW) + 15) & ~std::size_t{15};
    remote_range_ = VirtualAllocEx(process_, nullptr, offset + (chars + 1) * sizeof(wchar_t),
                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    remote_text_ = remote_range_ ? static_cast<char*>(remote_range_) + offset : nullptr;
    lent_chars_ = remote_range_ ? chars : 0;
    range_from_ = -1;
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
    lent_for_ = nullptr;
    range_from_ = -1;
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
  ChatRoomWatch rooms_;
  Hwnd room_ = kNoWindow, transcript_ = kNoWindow;
  HWND lent_for_ = nullptr;  // the window whose process and character set are known
  bool unicode_ = true;
  long range_from_ = -1;  // the start of the range last written into lent memory
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
    stop_ = true;
    // A worker stuck in a hung client's window is left to the end of the process.
    WaitForSingleObject(thread_, 500);
    CloseHandle(thread_);
  }
}

void Win32ChatScanner::StartScanning() {
  if (thread_) return;
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
  // Sleep, not a wait on an event: under Wine a sleep stays in the process, where a wait
  // is one more round trip to the wineserver at every look.
  for (;;) {
    Sleep(interval_ms_);
    if (stop_) return;
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
