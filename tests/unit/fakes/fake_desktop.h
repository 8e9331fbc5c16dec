// An in-memory desktop: a window tree with classes, captions and child order, answering
// the window-system port, with a record of every message each window received.
#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "aol/client.h"
#include "platform/ports.h"

namespace zantic::fakes {

struct Message {
  Hwnd window = kNoWindow;
  unsigned msg = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
  std::string text;  // the text of a text message (WM_SETTEXT)
  bool posted = false;

  bool operator==(const Message&) const = default;
};

// Readable test failures.
void PrintTo(const Message& m, std::ostream* os);

// Shorthands for expected messages.
Message SetText(Hwnd window, std::string text);
Message Char(Hwnd window, std::uintptr_t code);
Message Sent(Hwnd window, unsigned msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
Message Posted(Hwnd window, unsigned msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);

// A window's text is its caption: WM_SETTEXT replaces it, Enter (WM_CHAR 13) empties it, as
// the client's entry box sends what it holds, and a rich text box reads as it (in UTF-16).
// Windows are Unicode windows unless made ANSI. Texts pass a tiny fake ANSI code page
// (Latin-1: every character above U+00FF becomes "?") wherever the platform would put them
// through the real one: at every ANSI call, and at a wide call to an ANSI window.
// Safe to use from a second thread (the send queue's), one call at a time.
class FakeDesktop : public WindowSystem {
 public:
  // Windows are added behind their existing siblings, so creation order is child order.
  Hwnd AddTopLevel(std::string cls, std::string caption = {}) { return Add(kNoWindow, std::move(cls), std::move(caption)); }
  Hwnd AddChild(Hwnd parent, std::string cls, std::string caption = {}) { return Add(parent, std::move(cls), std::move(caption)); }
  // Moves a window to the front of its siblings.
  void BringToFront(Hwnd window);
  void Destroy(Hwnd window);
  // What the window's own program puts there (an ANSI window holds only the code page).
  void SetCaption(Hwnd window, std::string caption);
  void MakeAnsi(Hwnd window) { windows_.at(window).unicode = false; }
  // Makes GetWindowTextLengthA report `length` instead of the caption's length.
  void ReportLength(Hwnd window, int length) { windows_.at(window).reported_length = length; }

  // Every message sent or posted, to any window, in order.
  const std::vector<Message>& Log() const { return log_; }
  std::vector<Message> ReceivedBy(Hwnd window) const;
  void ClearLog() { log_.clear(); }
  // Called for every message that reaches a live window (after it is logged).
  std::function<void(const Message&)> on_message;

  // A client that stops answering: from Hang() on, every message sent (not posted) waits
  // until Answer(). Lookups and captions go on being answered, as the window system does.
  void Hang();
  void Answer();
  // Sends waiting in a hang right now.
  int WaitingSends();
  // Rich text boxes that cannot be read (a client that hangs, or is going).
  std::set<Hwnd> unreadable;

  // The chat room most tests need: returns the room; entry box and transcript via out-args.
  struct Client {
    Hwnd frame, mdi, room, transcript, entry, keyword;
  };
  Client AddClientWithRoom(const std::string& screen_name = "Pat Doe");

  // The text a WM_SETTEXT last put into the window, if any.
  std::string Caption(Hwnd window) const;

  // Window top in twips (for the main window's moves).
  struct WindowPosCall {
    Hwnd window, insert_after;
    int x, y, cx, cy;
    unsigned flags;
    bool operator==(const WindowPosCall&) const = default;
  };
  std::vector<WindowPosCall> window_pos_calls;
  int find_window_calls = 0;  // top-level lookups: each search through the client starts with one
  int lookups = 0;            // lookups of any window, top-level or child
  int release_capture_calls = 0;
  std::map<Hwnd, double> tops;

  // WindowSystem
  Hwnd FindWindowA(std::string_view cls, std::optional<std::string_view> caption) override;
  Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view cls,
                     std::optional<std::string_view> caption) override;
  std::intptr_t SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                             std::intptr_t lparam) override;
  std::intptr_t SendTextMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                 std::string_view text) override;
  void PostMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                    std::intptr_t lparam) override;
  int GetWindowTextLengthA(Hwnd window) override;
  std::string GetWindowTextA(Hwnd window, int size) override;
  std::string SendGetTextA(Hwnd window) override;
  std::intptr_t SendTextMessageW(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                 std::string_view text) override;
  std::string SendGetTextW(Hwnd window) override;
  bool IsWindowUnicode(Hwnd window) override { return Alive(window) && windows_.at(window).unicode; }
  std::optional<std::u16string> ReadRichText(Hwnd box, long from) override;
  void SetWindowPos(Hwnd window, Hwnd insert_after, int x, int y, int cx, int cy,
                    unsigned flags) override;
  void ReleaseCapture() override { ++release_capture_calls; }
  double GetWindowTop(Hwnd window) override { return tops[window]; }
  void SetWindowTop(Hwnd window, double twips) override { tops[window] = twips; }
  void MoveWithMouse(Hwnd window, MouseButton button) override { mouse_moves.push_back({window, button}); }
  std::vector<std::pair<Hwnd, MouseButton>> mouse_moves;

 private:
  struct Window {
    std::string cls;
    std::string caption;
    Hwnd parent = kNoWindow;
    std::vector<Hwnd> children;
    int reported_length = -1;
    bool unicode = true;
  };
  Hwnd Add(Hwnd parent, std::string cls, std::string caption);
  std::vector<Hwnd>& Siblings(Hwnd parent);
  bool Alive(Hwnd window) const { return windows_.count(window) != 0; }
  void Deliver(Message message);
  void WaitWhileHung();
  std::intptr_t SendText(Hwnd window, unsigned msg, std::uintptr_t wparam, std::string text);

  std::map<Hwnd, Window> windows_;
  std::vector<Hwnd> top_levels_;
  std::vector<Message> log_;
  Hwnd next_ = 0x100;
  std::recursive_mutex mutex_;
  std::mutex hang_mutex_;
  std::condition_variable hang_over_;
  bool hung_ = false;
  int waiting_sends_ = 0;
};

// The AOL client reached through the desktop, with every group of messages sent at once on
// the caller's thread, as a client that always answers would take them.
class InlineClient : public AolClient {
 public:
  explicit InlineClient(WindowSystem& windows) : windows_(windows) {}
  WindowSystem& windows() override { return windows_; }
  using AolClient::Send;
  void Send(Hwnd window, Messages messages, Step step) override {
    steps.push_back(step);
    if (window != kNoWindow) messages(windows_);
  }
  std::vector<Step> steps;  // of every group, in order
  bool Drain(double seconds) override {
    drains.push_back(seconds);
    return true;
  }
  std::vector<double> drains;

 private:
  WindowSystem& windows_;
};

}  // namespace zantic::fakes
