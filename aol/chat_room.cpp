#include "aol/chat_room.h"

#include "aol/client_windows.h"
#include "platform/text.h"

namespace zantic {
namespace {

// EM_SETSEL from and to a position past the end of any text: the box puts the caret at the
// end of its text.
constexpr std::intptr_t kCaretAtEnd = 0x7FFFFFFF;

bool IsChatRoom(WindowSystem& windows, Hwnd candidate) {
  bool all_found = true;
  // All four lookups are made, even after one has failed.
  for (std::string_view cls : {aol::kRichText, aol::kListbox, aol::kIcon, aol::kStatic}) {
    if (windows.FindWindowExA(candidate, kNoWindow, cls, std::nullopt) == kNoWindow) all_found = false;
  }
  return all_found;
}

Hwnd FirstChatRoomOf(WindowSystem& windows, Hwnd mdi) {
  for (Hwnd candidate : aol::ChildWindows(windows, mdi, aol::kChild)) {
    if (IsChatRoom(windows, candidate)) return candidate;
  }
  return kNoWindow;
}

}  // namespace

Hwnd FindChatRoom(WindowSystem& windows) { return FirstChatRoomOf(windows, aol::FindMdiClient(windows)); }

Hwnd ChatRoomWatch::Find(WindowSystem& windows) {
  if (searching_ > 0) --searching_, Forget();
  if (looks_ > 0 && looks_ < kLooksPerSearch && mdi_ != kNoWindow) {
    const bool check = looks_++ % kLooksPerCheck == 0;
    if (!check || windows.FindWindowExA(mdi_, kNoWindow, aol::kChild, std::nullopt) == first_child_) return room_;
  }
  mdi_ = aol::FindMdiClient(windows);
  first_child_ = windows.FindWindowExA(mdi_, kNoWindow, aol::kChild, std::nullopt);
  room_ = FirstChatRoomOf(windows, mdi_);
  if (room_ != kNoWindow) searching_ = 0;
  looks_ = 1;
  return room_;
}

bool ChatRoomWatch::Whole(WindowSystem& windows) {
  bool whole = room_ != kNoWindow;
  for (std::string_view cls : {aol::kListbox, aol::kIcon, aol::kStatic}) {
    if (whole && windows.FindWindowExA(room_, kNoWindow, cls, std::nullopt) == kNoWindow) whole = false;
  }
  if (!whole) searching_ = kLooksPerSearch;
  return whole;
}

void SendChatLine(AolClient& aol, std::string_view text, AolClient::Step step) {
  WindowSystem& windows = aol.windows();
  const Hwnd room = FindChatRoom(windows);
  const Hwnd first = windows.FindWindowExA(room, kNoWindow, aol::kRichText, std::nullopt);
  // Lookups under a missing window yield no window, so a line with no room or no entry box
  // is simply lost.
  const Hwnd box = windows.FindWindowExA(room, first, aol::kRichText, std::nullopt);
  aol.Send(box, [box, line = std::string(text)](WindowSystem& w) {
    // The box is read when the line goes out, not when it was queued: the user may have
    // typed on meanwhile. The draft is read and put back in the box's own character set, so
    // it comes back unchanged: wide in a Unicode box (a draft may hold anything the user can
    // type), in the code page in an ANSI box (it holds nothing else). The line itself goes
    // through the ANSI code page, as every line the program posts.
    const bool unicode = w.IsWindowUnicode(box);
    const std::string draft = unicode ? w.SendGetTextW(box) : w.SendGetTextA(box);
    w.SendTextMessageA(box, wm::kSetText, 0, line);
    w.SendMessageA(box, wm::kChar, 13, 0);
    if (draft.empty()) return;
    if (unicode) {
      w.SendTextMessageW(box, wm::kSetText, 0, draft);
    } else {
      w.SendTextMessageA(box, wm::kSetText, 0, draft);
    }
    w.SendMessageA(box, wm::kEmSetSel, kCaretAtEnd, kCaretAtEnd);
  }, step);
}

std::string GetWindowTextString(WindowSystem& windows, Hwnd window) {
  const int n = windows.GetWindowTextLengthA(window);
  if (n <= 0) return {};
  std::string text = windows.GetWindowTextA(window, n + 1);
  // Pad to the reported length, counted in characters.
  const std::size_t chars = Utf8Length(text);
  if (chars < static_cast<std::size_t>(n)) text.append(static_cast<std::size_t>(n) - chars, '\0');
  return text;
}

std::optional<std::string> ScreenNameFromCaption(std::string_view caption) {
  if (caption.substr(0, aol::kWelcomePrefix.size()) != aol::kWelcomePrefix) return std::nullopt;
  const auto bang = caption.find('!');
  // A Welcome caption without "!" has no defined screen name: give the empty text, which
  // matches no speaker.
  if (bang == std::string_view::npos) return std::string();
  return std::string(caption.substr(aol::kWelcomePrefix.size(), bang - aol::kWelcomePrefix.size()));
}

std::string GetScreenName(WindowSystem& windows) {
  for (Hwnd candidate : aol::ChildWindows(windows, aol::FindMdiClient(windows), aol::kChild)) {
    if (auto name = ScreenNameFromCaption(GetWindowTextString(windows, candidate))) return *name;
  }
  return {};
}

}  // namespace zantic
