#include "aol/chat_room.h"

#include <array>

namespace zantic {
namespace {

constexpr std::string_view kWelcome = "Welcome, ";

// EM_SETSEL from and to a position past the end of any text: the box puts the caret at the
// end of its text.
constexpr std::intptr_t kCaretAtEnd = 0x7FFFFFFF;

Hwnd FindMdiClient(WindowSystem& windows) {
  const Hwnd main = windows.FindWindowA("AOL Frame25", std::nullopt);
  return windows.FindWindowExA(main, kNoWindow, "MDIClient", std::nullopt);
}

bool IsChatRoom(WindowSystem& windows, Hwnd candidate) {
  static constexpr std::array<std::string_view, 4> kClasses = {"RICHCNTL", "_AOL_Listbox",
                                                               "_AOL_Icon", "_AOL_Static"};
  bool all_found = true;
  // All four lookups are made, even after one has failed.
  for (std::string_view cls : kClasses) {
    if (windows.FindWindowExA(candidate, kNoWindow, cls, std::nullopt) == kNoWindow) {
      all_found = false;
    }
  }
  return all_found;
}

// The first MDI child of `mdi` that is a chat room.
Hwnd FirstChatRoomOf(WindowSystem& windows, Hwnd mdi) {
  Hwnd candidate = windows.FindWindowExA(mdi, kNoWindow, "AOL Child", std::nullopt);
  while (candidate != kNoWindow) {
    if (IsChatRoom(windows, candidate)) return candidate;
    candidate = windows.FindWindowExA(mdi, candidate, "AOL Child", std::nullopt);
  }
  return kNoWindow;
}

}  // namespace

Hwnd FindChatRoom(WindowSystem& windows) { return FirstChatRoomOf(windows, FindMdiClient(windows)); }

Hwnd ChatRoomWatch::Find(WindowSystem& windows) {
  if (looks_until_search_ > 0 && mdi_ != kNoWindow &&
      windows.FindWindowExA(mdi_, kNoWindow, "AOL Child", std::nullopt) == first_child_) {
    --looks_until_search_;
    return room_;
  }
  mdi_ = FindMdiClient(windows);
  first_child_ = windows.FindWindowExA(mdi_, kNoWindow, "AOL Child", std::nullopt);
  room_ = FirstChatRoomOf(windows, mdi_);
  looks_until_search_ = kLooksPerSearch - 1;
  return room_;
}

void SendChatLine(AolClient& aol, std::string_view text) {
  WindowSystem& windows = aol.windows();
  const Hwnd room = FindChatRoom(windows);
  const Hwnd first = windows.FindWindowExA(room, kNoWindow, "RICHCNTL", std::nullopt);
  // Lookups under a missing window yield no window, so a line with no room or no entry box
  // is simply lost.
  const Hwnd box = windows.FindWindowExA(room, first, "RICHCNTL", std::nullopt);
  aol.Send(box, [box, line = std::string(text)](WindowSystem& w) {
    // The box is read when the line goes out, not when it was queued: the user may have
    // typed on meanwhile.
    const std::string draft = w.SendGetTextA(box);
    w.SendTextMessageA(box, wm::kSetText, 0, line);
    w.SendMessageA(box, wm::kChar, 13, 0);
    if (draft.empty()) return;
    w.SendTextMessageA(box, wm::kSetText, 0, draft);
    w.SendMessageA(box, wm::kEmSetSel, kCaretAtEnd, kCaretAtEnd);
  });
}

std::string GetWindowTextString(WindowSystem& windows, Hwnd window) {
  const int n = windows.GetWindowTextLengthA(window);
  if (n <= 0) return {};
  std::string text = windows.GetWindowTextA(window, n + 1);
  // Pad to the reported length, counted in characters (UTF-8 sequences count once).
  std::size_t chars = 0;
  for (unsigned char c : text) chars += (c & 0xC0) != 0x80;
  if (chars < static_cast<std::size_t>(n)) text.append(static_cast<std::size_t>(n) - chars, '\0');
  return text;
}

std::optional<std::string> ScreenNameFromCaption(std::string_view caption) {
  if (caption.substr(0, kWelcome.size()) != kWelcome) return std::nullopt;
  const auto bang = caption.find('!');
  // A Welcome caption without "!" has no defined screen name: give the empty text, which
  // matches no speaker.
  if (bang == std::string_view::npos) return std::string();
  return std::string(caption.substr(kWelcome.size(), bang - kWelcome.size()));
}

std::string GetScreenName(WindowSystem& windows) {
  const Hwnd mdi = FindMdiClient(windows);
  Hwnd candidate = windows.FindWindowExA(mdi, kNoWindow, "AOL Child", std::nullopt);
  while (true) {
    if (auto name = ScreenNameFromCaption(GetWindowTextString(windows, candidate))) {
      return *name;
    }
    if (candidate == kNoWindow) return {};
    candidate = windows.FindWindowExA(mdi, candidate, "AOL Child", std::nullopt);
  }
}

}  // namespace zantic
