#include "fakes/fake_desktop.h"

#include <algorithm>

#include "platform/text.h"

namespace zantic::fakes {

namespace {

// The fake ANSI code page: Latin-1.
std::string ThroughCodePage(std::string_view utf8) {
  std::u16string text = Utf8ToUtf16(utf8);
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] < 0xE000;
    out += text[i] <= 0xFF ? text[i] : u'?';
    if (pair) ++i;
  }
  return Utf16ToUtf8(out);
}

}  // namespace

void PrintTo(const Message& m, std::ostream* os) {
  *os << (m.posted ? "posted " : "sent ") << std::hex << "0x" << m.msg << " to 0x" << m.window
      << " w=0x" << m.wparam << " l=0x" << m.lparam << std::dec;
  if (!m.text.empty()) *os << " \"" << m.text << "\"";
}

Message SetText(Hwnd window, std::string text) {
  return {window, wm::kSetText, 0, 0, std::move(text), false};
}
Message Char(Hwnd window, std::uintptr_t code) { return {window, wm::kChar, code, 0, {}, false}; }
Message Sent(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  return {window, msg, wparam, lparam, {}, false};
}
Message Posted(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  return {window, msg, wparam, lparam, {}, true};
}

Hwnd FakeDesktop::Add(Hwnd parent, std::string cls, std::string caption) {
  const Hwnd id = next_;
  next_ += 4;
  windows_[id] = Window{std::move(cls), std::move(caption), parent, {}, -1};
  Siblings(parent).push_back(id);
  return id;
}

std::vector<Hwnd>& FakeDesktop::Siblings(Hwnd parent) {
  return parent == kNoWindow ? top_levels_ : windows_.at(parent).children;
}

void FakeDesktop::BringToFront(Hwnd window) {
  auto& siblings = Siblings(windows_.at(window).parent);
  siblings.erase(std::find(siblings.begin(), siblings.end(), window));
  siblings.insert(siblings.begin(), window);
}

void FakeDesktop::Destroy(Hwnd window) {
  if (!Alive(window)) return;
  for (Hwnd child : std::vector<Hwnd>(windows_.at(window).children)) Destroy(child);
  auto& siblings = Siblings(windows_.at(window).parent);
  siblings.erase(std::find(siblings.begin(), siblings.end(), window));
  windows_.erase(window);
}

void FakeDesktop::SetCaption(Hwnd window, std::string caption) {
  Window& w = windows_.at(window);
  w.caption = w.unicode ? std::move(caption) : ThroughCodePage(caption);
}

std::vector<Message> FakeDesktop::ReceivedBy(Hwnd window) const {
  std::vector<Message> received;
  std::copy_if(log_.begin(), log_.end(), std::back_inserter(received),
               [window](const Message& m) { return m.window == window; });
  return received;
}

std::string FakeDesktop::Caption(Hwnd window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? std::string() : it->second.caption;
}

FakeDesktop::Client FakeDesktop::AddClientWithRoom(const std::string& screen_name) {
  Client c{};
  c.frame = AddTopLevel("AOL Frame25", "America  Online");
  c.mdi = AddChild(c.frame, "MDIClient");
  AddChild(c.mdi, "AOL Child", "Welcome, " + screen_name + "!");
  c.room = AddChild(c.mdi, "AOL Child", "Lobby 42");
  c.transcript = AddChild(c.room, "RICHCNTL");
  AddChild(c.room, "_AOL_Listbox");
  AddChild(c.room, "_AOL_Icon");
  AddChild(c.room, "_AOL_Static", "Lobby 42");
  c.entry = AddChild(c.room, "RICHCNTL");
  c.keyword = AddChild(AddChild(AddChild(AddChild(c.frame, "AOL Toolbar"), "_AOL_Toolbar"), "_AOL_Combobox"), "Edit");
  return c;
}

Hwnd FakeDesktop::FindWindowA(std::string_view cls, std::optional<std::string_view> caption) {
  ++find_window_calls;
  ++lookups;
  for (Hwnd w : top_levels_) {
    const Window& window = windows_.at(w);
    if (window.cls == cls && (!caption || window.caption == *caption)) return w;
  }
  return kNoWindow;
}

Hwnd FakeDesktop::FindWindowExA(Hwnd parent, Hwnd after, std::string_view cls,
                                std::optional<std::string_view> caption) {
  ++lookups;
  if (!Alive(parent)) return kNoWindow;
  const auto& children = windows_.at(parent).children;
  auto it = children.begin();
  if (after != kNoWindow) {
    it = std::find(children.begin(), children.end(), after);
    if (it == children.end()) return kNoWindow;
    ++it;
  }
  for (; it != children.end(); ++it) {
    const Window& window = windows_.at(*it);
    if (window.cls == cls && (!caption || window.caption == *caption)) return *it;
  }
  return kNoWindow;
}

void FakeDesktop::Hang() {
  std::lock_guard<std::mutex> lock(hang_mutex_);
  hung_ = true;
}

void FakeDesktop::Answer() {
  {
    std::lock_guard<std::mutex> lock(hang_mutex_);
    hung_ = false;
  }
  hang_over_.notify_all();
}

int FakeDesktop::WaitingSends() {
  std::lock_guard<std::mutex> lock(hang_mutex_);
  return waiting_sends_;
}

void FakeDesktop::WaitWhileHung() {
  std::unique_lock<std::mutex> lock(hang_mutex_);
  ++waiting_sends_;
  hang_over_.wait(lock, [this] { return !hung_; });
  --waiting_sends_;
}

void FakeDesktop::Deliver(Message message) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!Alive(message.window)) return;
  if (message.msg == wm::kSetText) windows_.at(message.window).caption = message.text;
  log_.push_back(message);
  if (on_message) on_message(log_.back());
  // An entry box sends what it holds on Enter, and is empty again.
  if (message.msg == wm::kChar && message.wparam == 13) windows_.at(message.window).caption.clear();
}

std::intptr_t FakeDesktop::SendMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                        std::intptr_t lparam) {
  WaitWhileHung();
  Deliver({window, msg, wparam, lparam, {}, false});
  return 0;
}

std::intptr_t FakeDesktop::SendText(Hwnd window, unsigned msg, std::uintptr_t wparam, std::string text) {
  WaitWhileHung();
  Deliver({window, msg, wparam, 0, std::move(text), false});
  return 1;
}

std::intptr_t FakeDesktop::SendTextMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                            std::string_view text) {
  return SendText(window, msg, wparam, ThroughCodePage(text));
}

std::intptr_t FakeDesktop::SendTextMessageW(Hwnd window, unsigned msg, std::uintptr_t wparam,
                                            std::string_view text) {
  return SendText(window, msg, wparam, IsWindowUnicode(window) ? std::string(text) : ThroughCodePage(text));
}

void FakeDesktop::PostMessageA(Hwnd window, unsigned msg, std::uintptr_t wparam,
                               std::intptr_t lparam) {
  Deliver({window, msg, wparam, lparam, {}, true});
}

int FakeDesktop::GetWindowTextLengthA(Hwnd window) {
  if (!Alive(window)) return 0;
  const Window& w = windows_.at(window);
  return w.reported_length >= 0 ? w.reported_length : static_cast<int>(Utf8Length(w.caption));
}

std::string FakeDesktop::GetWindowTextA(Hwnd window, int size) {
  if (!Alive(window) || size <= 0) return {};
  return ThroughCodePage(Utf8Prefix(windows_.at(window).caption, static_cast<std::size_t>(size - 1)));
}

std::string FakeDesktop::SendGetTextA(Hwnd window) { return ThroughCodePage(SendGetTextW(window)); }

std::string FakeDesktop::SendGetTextW(Hwnd window) {
  WaitWhileHung();
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return Alive(window) ? windows_.at(window).caption : std::string();
}

std::optional<std::u16string> FakeDesktop::ReadRichText(Hwnd box, long from) {
  if (!Alive(box) || unreadable.count(box)) return std::nullopt;
  const std::u16string text = Utf8ToUtf16(windows_.at(box).caption);
  return from >= static_cast<long>(text.size()) ? std::u16string() : text.substr(static_cast<std::size_t>(from));
}

}  // namespace zantic::fakes
