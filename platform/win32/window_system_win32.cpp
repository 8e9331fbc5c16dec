#include "platform/win32/window_system_win32.h"

#include <richedit.h>

#include <algorithm>
#include <vector>

#include "platform/win32/text_encoding.h"

namespace zantic::win32 {
namespace {

HWND H(Hwnd window) { return reinterpret_cast<HWND>(window); }
Hwnd ToHwnd(HWND window) { return reinterpret_cast<Hwnd>(window); }

// A rich text box that does not answer within this long is taken as unreadable for now.
constexpr DWORD kReadTimeoutMs = 2000;
constexpr std::size_t kFirstChars = 4096;       // characters lent for the first read
constexpr std::size_t kKeptChars = 256 * 1024;  // lent memory kept between reads

// The client's process, to lend memory in it and to ask whether it runs under WoW64 (which
// takes one of the two query rights). Windows XP knows no PROCESS_QUERY_LIMITED_INFORMATION
// and refuses a request that holds it; later Windows grant it more often than the full
// right, so it is asked for first.
HANDLE OpenClientProcess(DWORD pid) {
  constexpr DWORD kMemory = PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE;
  HANDLE process = OpenProcess(kMemory | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  return process ? process : OpenProcess(kMemory | PROCESS_QUERY_INFORMATION, FALSE, pid);
}

// Whether the system runs the process under WoW64; false where the system has no
// IsWow64Process (looked up, so the program loads where it is missing: no WoW64 there),
// nothing when it would not answer.
std::optional<bool> UnderWow64(HANDLE process) {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  static const auto is_wow64 = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  if (!is_wow64) return false;
  BOOL wow64 = FALSE;
  if (!is_wow64(process, &wow64)) return std::nullopt;
  return wow64 != FALSE;
}

}  // namespace

Win32WindowSystem::~Win32WindowSystem() { Release(); }

Hwnd Win32WindowSystem::FindWindowA(std::string_view cls,
                                    std::optional<std::string_view> caption) {
  const std::string ansi_cls = Utf8ToAnsi(cls);
  const std::string ansi_caption = caption ? Utf8ToAnsi(*caption) : std::string();
  return ToHwnd(::FindWindowA(ansi_cls.c_str(), caption ? ansi_caption.c_str() : nullptr));
}

Hwnd Win32WindowSystem::FindWindowExA(Hwnd parent, Hwnd after, std::string_view cls,
                                      std::optional<std::string_view> caption) {
  // A lookup under a window that was not found finds nothing (user32 would search the
  // desktop's top-level windows instead).
  if (parent == kNoWindow) return kNoWindow;
  const std::string ansi_cls = Utf8ToAnsi(cls);
  const std::string ansi_caption = caption ? Utf8ToAnsi(*caption) : std::string();
  return ToHwnd(::FindWindowExA(H(parent), H(after), ansi_cls.c_str(),
                                caption ? ansi_caption.c_str() : nullptr));
}

std::intptr_t Win32WindowSystem::SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                              std::intptr_t lparam) {
  if (window == kNoWindow) return 0;
  return ::SendMessageA(H(window), msg, wparam, lparam);
}

std::intptr_t Win32WindowSystem::SendTextMessageA(Hwnd window, unsigned msg,
                                                  std::uintptr_t wparam, std::string_view text) {
  if (window == kNoWindow) return 0;
  const std::string ansi = Utf8ToAnsi(text);
  return ::SendMessageA(H(window), msg, wparam, reinterpret_cast<LPARAM>(ansi.c_str()));
}

void Win32WindowSystem::PostMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                     std::intptr_t lparam) {
  if (window == kNoWindow) return;
  ::PostMessageA(H(window), msg, wparam, lparam);
}

int Win32WindowSystem::GetWindowTextLengthA(Hwnd window) {
  if (window == kNoWindow) return 0;
  return ::GetWindowTextLengthA(H(window));
}

std::string Win32WindowSystem::GetWindowTextA(Hwnd window, int size) {
  if (window == kNoWindow || size <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(size), '\0');
  const int n = ::GetWindowTextA(H(window), buffer.data(), size);
  if (n <= 0) return {};
  return AnsiToUtf8(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
}

std::string Win32WindowSystem::SendGetTextA(Hwnd window) {
  if (window == kNoWindow) return {};
  HWND h = H(window);
  const LRESULT length = ::SendMessageA(h, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT n = ::SendMessageA(h, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  if (n <= 0) return {};
  return AnsiToUtf8(std::string_view(buffer.data(), std::min<std::size_t>(static_cast<std::size_t>(n), length)));
}

std::intptr_t Win32WindowSystem::SendTextMessageW(Hwnd window, unsigned msg,
                                                  std::uintptr_t wparam, std::string_view text) {
  if (window == kNoWindow) return 0;
  const std::wstring wide = Utf8ToWide(text);
  return ::SendMessageW(H(window), msg, wparam, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string Win32WindowSystem::SendGetTextW(Hwnd window) {
  if (window == kNoWindow) return {};
  HWND h = H(window);
  const LRESULT length = ::SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT n = ::SendMessageW(h, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  if (n <= 0) return {};
  return WideToUtf8(std::wstring_view(buffer.data(), std::min<std::size_t>(static_cast<std::size_t>(n), length)));
}

bool Win32WindowSystem::IsWindowUnicode(Hwnd window) {
  return window != kNoWindow && ::IsWindowUnicode(H(window));
}

// The stretch is read with one message, so it is one state of the box (another program may
// change it between any two messages). The range reaches as far as the lent memory holds,
// past the end, where the box stops by itself; a stretch that fills it is read again with
// twice the room. What was learnt of the box is kept while it stays the same window, and
// the range is written into the lent memory only when it changes: a read of a box where
// nothing changed is one message and one copy.
std::optional<std::u16string> Win32WindowSystem::ReadRichText(Hwnd box, long from) {
  HWND h = H(box);
  if (!h) return std::nullopt;
  for (std::size_t chars = std::max(lent_.chars, kFirstChars);; chars *= 2) {
    if (!Lend(h, chars)) return ReadWhole(h, from);
    if (from != lent_.from) {
      const auto range = lent_.layout->Bytes(
          static_cast<std::int32_t>(from),
          static_cast<std::int32_t>(std::min<long long>(from + static_cast<long long>(lent_.chars), 0x7FFFFFFF)),
          reinterpret_cast<std::uintptr_t>(lent_.text));
      if (!range) {  // memory the box's pointers cannot name: this process is read whole
        Unlend();
        return ReadWhole(h, from);
      }
      lent_.from = -1;
      if (!WriteProcessMemory(lent_.process, lent_.range, range->data(), range->size(), nullptr)) return Fail();
      lent_.from = from;
    }
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(lent_.range), SMTO_BLOCK,
                             kReadTimeoutMs, &got)) {
      return std::nullopt;
    }
    if (got >= lent_.chars) continue;
    std::u16string text;
    if (lent_.unicode) {
      text.resize(got);
      if (got && !ReadProcessMemory(lent_.process, lent_.text, text.data(), got * 2, nullptr)) return Fail();
    } else {
      // An ANSI box writes the range in the code page. With a single-byte code page (the
      // western ones) one byte is one character position, so the count it answers, the
      // bytes copied and the positions the tracker counts agree. With a double-byte code
      // page a position can take two bytes: the memory lent has room for two a position,
      // but the count answered may be in positions, and a box may even write no more bytes
      // than positions (Wine's rich edit does both), so the stretch's last characters would
      // be missing and the tracker's place would slip; such a client is not handled. Each
      // double-byte character that does arrive converts to one UTF-16 unit, one position.
      std::string ansi(got, '\0');
      if (got && !ReadProcessMemory(lent_.process, lent_.text, ansi.data(), got, nullptr)) return Fail();
      text = AnsiToUtf16(ansi);
    }
    if (lent_.chars > kKeptChars) Release();  // a long history read: give the memory back
    return text;
  }
}

// Memory in the box's program for the range and `chars` characters; false when we may
// not have it (another user's or an elevated program).
// The structure is laid out for the box's process, which need not be built as we are (a
// 32-bit client beside a 64-bit program): platform/text_range_layout.h.
bool Win32WindowSystem::Lend(HWND box, std::size_t chars) {
  if (box != lent_.box || !lent_.process) {
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    const bool unicode = ::IsWindowUnicode(box);
    if (pid != lent_.pid || !lent_.process) {
      Release();
      lent_.pid = pid;
      lent_.process = OpenClientProcess(pid);
      if (!lent_.process) return false;
      lent_.layout = TextRangeLayout::For(kProgramBitness, UnderWow64(GetCurrentProcess()),
                                          UnderWow64(lent_.process));
    }
    lent_.unicode = unicode;
    lent_.box = box;
    lent_.from = -1;
  }
  if (!lent_.layout) return false;
  if (lent_.range && chars <= lent_.chars) return true;
  if (lent_.range) VirtualFreeEx(lent_.process, lent_.range, 0, MEM_RELEASE);
  const std::size_t offset = (lent_.layout->Size() + 15) & ~std::size_t{15};
  lent_.range = VirtualAllocEx(lent_.process, nullptr, offset + (chars + 1) * sizeof(wchar_t),
                               MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  lent_.text = lent_.range ? static_cast<char*>(lent_.range) + offset : nullptr;
  lent_.chars = lent_.range ? chars : 0;
  lent_.from = -1;
  return lent_.range != nullptr;
}

// No more memory lent in this process: its boxes are read whole from now on.
void Win32WindowSystem::Unlend() {
  if (lent_.range) VirtualFreeEx(lent_.process, lent_.range, 0, MEM_RELEASE);
  lent_.range = lent_.text = nullptr;
  lent_.chars = 0;
  lent_.from = -1;
  lent_.layout.reset();
}

void Win32WindowSystem::Release() {
  if (lent_.process) {
    if (lent_.range) VirtualFreeEx(lent_.process, lent_.range, 0, MEM_RELEASE);
    CloseHandle(lent_.process);
  }
  lent_ = Lent{};
}

// A read that failed on the other program's memory (it may have ended): the next read
// starts afresh.
std::optional<std::u16string> Win32WindowSystem::Fail() {
  Release();
  return std::nullopt;
}

// Without lent memory: the whole text (its breaks as the box gives them, \r\n each,
// counted once as the box counts them).
std::optional<std::u16string> Win32WindowSystem::ReadWhole(HWND box, long from) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(box, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, kReadTimeoutMs, &length)) {
    return std::nullopt;
  }
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_BLOCK,
                           kReadTimeoutMs, &got)) {
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

}  // namespace zantic::win32
