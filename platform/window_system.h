// The AOL client's windows, reached through the window system: the user32 subset the
// program uses on them, spelled as user32 spells it (the program's own window is another
// port: platform/own_window.h).
// Lookups, captions and posted messages are answered by the window system itself and never
// wait for another program. A message sent to a window returns only once the window's
// program has handled it, so it waits as long as that program hangs: the program's logic
// sends to the AOL client only from the send queue's thread (aol/send_queue.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window_handle.h"

namespace zantic {

// Window messages the program sends the client, with the values the window system gives
// them.
namespace wm {
inline constexpr unsigned kNull = 0x0000;
inline constexpr unsigned kSetText = 0x000C;
inline constexpr unsigned kClose = 0x0010;
inline constexpr unsigned kEmSetSel = 0x00B1;
inline constexpr unsigned kKeyDown = 0x0100;
inline constexpr unsigned kKeyUp = 0x0101;
inline constexpr unsigned kChar = 0x0102;
inline constexpr unsigned kLButtonDown = 0x0201;
inline constexpr unsigned kLButtonUp = 0x0202;
}  // namespace wm

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // First top-level window of the class (and caption, when one is given), or 0.
  virtual Hwnd FindWindowA(std::string_view cls, std::optional<std::string_view> caption) = 0;
  // First direct child of `parent` after `after` (from the first child when `after` is 0)
  // with the class (and caption, when one is given), in child order; 0 when there is none.
  virtual Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view cls,
                             std::optional<std::string_view> caption) = 0;
  // Length of the window's caption in characters; 0 for no window.
  virtual int GetWindowTextLengthA(Hwnd window) = 0;
  // At most size - 1 characters of the window's caption (what the platform copied into a
  // buffer of `size` characters, up to its terminating NUL).
  virtual std::string GetWindowTextA(Hwnd window, int size) = 0;
  virtual void PostMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) = 0;

  // Sent: these wait for the window's program.
  virtual std::intptr_t SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                     std::intptr_t lparam) = 0;
  // SendMessageA whose lParam is a text (WM_SETTEXT).
  virtual std::intptr_t SendTextMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                         std::string_view text) = 0;
  // The text the window itself gives for WM_GETTEXTLENGTH and WM_GETTEXT (the content of
  // another program's edit box, which GetWindowTextA does not see).
  virtual std::string SendGetTextA(Hwnd window) = 0;
  // The wide forms of the two above (SendMessageW): the text crosses as UTF-16, so in a
  // Unicode window nothing is lost to the ANSI code page. An ANSI window's own text is in
  // the code page either way.
  virtual std::intptr_t SendTextMessageW(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                         std::string_view text) = 0;
  virtual std::string SendGetTextW(Hwnd window) = 0;
  // Whether the window is a Unicode window (its program handles its messages in UTF-16);
  // false for an ANSI window, and for no window. Answered by the window system at once.
  virtual bool IsWindowUnicode(Hwnd window) = 0;
  // The text of another program's rich text box from character `from` to its end, read in
  // one message (so it is one state of the box), in the box's own units: UTF-16, each
  // paragraph break one '\r'. Nothing when it cannot be read now (the box is gone, or its
  // program hangs or refuses).
  virtual std::optional<std::u16string> ReadRichText(Hwnd box, long from) = 0;
};

}  // namespace zantic
