// The ports: the small interfaces through which the program's logic reaches the world
// outside it. The Win32 adapters in platform/win32 implement them over the real API;
// the unit tests implement them with in-memory fakes.
//
// Texts are UTF-8 everywhere in here. An adapter converts to and from the system's ANSI
// code page exactly where the platform call would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zantic {

// A window handle: an opaque value naming one window; 0 means "no window".
using Hwnd = std::uintptr_t;
inline constexpr Hwnd kNoWindow = 0;

// Window messages the program sends, with the values the window system gives them.
namespace wm {
inline constexpr unsigned kNull = 0x0000;
inline constexpr unsigned kClose = 0x0010;
inline constexpr unsigned kSetText = 0x000C;
inline constexpr unsigned kGetText = 0x000D;
inline constexpr unsigned kGetTextLength = 0x000E;
inline constexpr unsigned kKeyDown = 0x0100;
inline constexpr unsigned kKeyUp = 0x0101;
inline constexpr unsigned kChar = 0x0102;
inline constexpr unsigned kSysCommand = 0x0112;
inline constexpr unsigned kLButtonDown = 0x0201;
inline constexpr unsigned kLButtonUp = 0x0202;
inline constexpr unsigned kEmSetSel = 0x00B1;
}  // namespace wm

// The mouse buttons that can start a move of the main window.
enum class MouseButton { Left, Right, Middle };

// SetWindowPos arguments used by the program.
inline constexpr Hwnd kHwndTopmost = static_cast<Hwnd>(-1);
inline constexpr unsigned kSwpNoSize = 0x0001;
inline constexpr unsigned kSwpNoMove = 0x0002;

// The window system: the user32 subset the program uses, spelled as user32 spells it.
// Lookups, captions and posted messages are answered by the window system itself and never
// wait for another program. A message sent to a window returns only once the window's
// program has handled it, so it waits as long as that program hangs: the program's logic
// sends to the AOL client only from the send queue's thread (aol/send_queue.h).
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // First top-level window of the class (and caption, when one is given), or 0.
  virtual Hwnd FindWindowA(std::string_view cls, std::optional<std::string_view> caption) = 0;
  // First direct child of `parent` after `after` (from the first child when `after` is 0)
  // with the class (and caption, when one is given), in child order; 0 when there is none.
  virtual Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view cls,
                             std::optional<std::string_view> caption) = 0;
  virtual std::intptr_t SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                     std::intptr_t lparam) = 0;
  // SendMessageA whose lParam is a text (WM_SETTEXT).
  virtual std::intptr_t SendTextMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                         std::string_view text) = 0;
  virtual void PostMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                            std::intptr_t lparam) = 0;
  // Length of the window's text in characters; 0 for no window.
  virtual int GetWindowTextLengthA(Hwnd window) = 0;
  // At most size - 1 characters of the window's text (what the platform copied into a
  // buffer of `size` characters, up to its terminating NUL).
  virtual std::string GetWindowTextA(Hwnd window, int size) = 0;
  // The text the window itself gives for WM_GETTEXTLENGTH and WM_GETTEXT (the content of
  // another program's edit box, which GetWindowTextA does not see). Sent: it waits for the
  // window's program.
  virtual std::string SendGetTextA(Hwnd window) = 0;

  virtual void SetWindowPos(Hwnd window, Hwnd insert_after, int x, int y, int cx, int cy,
                            unsigned flags) = 0;
  virtual void ReleaseCapture() = 0;
  // The window's top edge, in twips from the top of the screen.
  virtual double GetWindowTop(Hwnd window) = 0;
  virtual void SetWindowTop(Hwnd window, double twips) = 0;
  // Moves the window with the mouse pointer, handling the program's other events meanwhile,
  // until `button` is released or the window loses the mouse capture; then returns. For
  // the buttons that the system's own move loop does not follow.
  virtual void MoveWithMouse(Hwnd window, MouseButton button) = 0;
};

// The event pump and the clock that every wait is built on.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Delivers every pending window event of the program to its handler, then returns.
  // Handlers run nested inside the caller.
  virtual void PumpEvents() = 0;
  // Monotonic seconds, fractions included; never jumps back.
  virtual double Now() = 0;
  // Gives up the processor until an event is pending or Now() reaches `deadline`.
  virtual void WaitForEvents(double deadline) = 0;
};

// What became of a write to the settings file.
enum class WriteResult {
  Written,
  FileReadOnly,      // the file is marked read-only
  FolderReadOnly,    // there is no file, and the folder lets no file be made in it
  FileUnreadable,    // the file is there but cannot be read, so it is not overwritten
  FileUnconvertible, // its text cannot be written back without changing other bytes
  WriteFailed,       // the system refused the write (a full disk, a lock)
};

// The settings file service: kernel32's private-profile calls.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  // The characters the call placed in a buffer of `size` characters, not counting the
  // terminating NUL; `default_value` when the file, the section or the key is missing.
  virtual std::string GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                               std::string_view default_value,
                                               std::size_t size, std::string_view file) = 0;
  virtual WriteResult WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                                 std::string_view value, std::string_view file) = 0;
};

// Message boxes. Blocks until the user dismisses the box.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void MessageBoxA(std::string_view text, std::string_view title, unsigned style) = 0;
};

// The program as a process.
class Process {
 public:
  virtual ~Process() = default;
  // The folder that holds the program's executable, as the platform reports it
  // (no trailing separator unless it is a drive's root).
  virtual std::string ProgramDirectory() = 0;
  // Ends the program at once: every window closes and the process exits. Does not return
  // in the product.
  virtual void EndProgram() = 0;
};

// The controls of the main window, by their form names.
enum class Control {
  Label1, Label2, Label3, Label4, Label5, Label6, Label7,
  Label8, Label9, Label10, Label11, Label12, Label13, Label14,
  Text1, Text2, Text3, Picture1, Line1,
};

// The main window: visibility, enabled state and text of its controls, and hide/show of
// the window as a whole.
class FormControls {
 public:
  virtual ~FormControls() = default;
  virtual Hwnd FormWindow() = 0;
  virtual void SetVisible(Control control, bool visible) = 0;
  virtual bool IsVisible(Control control) = 0;
  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual bool IsEnabled(Control control) = 0;
  virtual std::string GetText(Control control) = 0;
  virtual void SetText(Control control, std::string_view text) = 0;
  virtual void HideForm() = 0;
  // Shows the window modeless, with no owner window.
  virtual void ShowForm() = 0;
};

// The chat scanner hosted on the main window as Chat1. Once started it reports every new
// line of the chat room, with its speaker, on the user-interface thread.
class ChatScanner {
 public:
  virtual ~ChatScanner() = default;
  virtual void StartScanning() = 0;
};

}  // namespace zantic
