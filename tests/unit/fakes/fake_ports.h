// In-memory stand-ins for the profile file, message boxes, the process, the main window's
// controls and the chat scanner. Each notes what it does in a shared journal, so tests can
// assert the order of effects across them.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace zantic::fakes {

using Journal = std::vector<std::string>;

std::string NameOf(Control control);

// Files in memory, each a string of bytes, with failure toggles: a file that cannot be
// read, and what a write does.
class FakeFiles : public FileSystem {
 public:
  explicit FakeFiles(Journal* journal = nullptr) : journal_(journal) {}
  std::map<std::string, std::string> files;
  bool unreadable = false;                          // every file that is there fails to read
  WriteResult writes = WriteResult::Written;        // anything else: writes fail so
  FileBytes ReadWholeFile(std::string_view path) override;
  WriteResult ReplaceWholeFile(std::string_view path, std::string_view bytes) override;

 private:
  Journal* journal_;
};

// Windows-1252 as far as it is Latin-1: bytes 0x80 to 0xFF are U+0080 to U+00FF; other
// characters become "?".
class Latin1CodePage : public AnsiCodePage {
 public:
  std::string ToAnsi(std::string_view utf8) override;
  std::string FromAnsi(std::string_view ansi) override;
};

struct ShownBox {
  std::string text, title;
  unsigned style;
};

class FakeMessageBoxes : public MessageBoxes {
 public:
  explicit FakeMessageBoxes(Journal* journal) : journal_(journal) {}
  std::vector<ShownBox> shown;
  std::function<void()> while_shown;  // runs while a box is up (its modal loop's events)
  void MessageBoxA(std::string_view text, std::string_view title, unsigned style) override;

 private:
  Journal* journal_;
};

// Thrown by EndProgram: the process ends there and nothing after it runs.
struct ProgramEnded {};

class FakeProcess : public Process {
 public:
  explicit FakeProcess(Journal* journal) : journal_(journal) {}
  std::string directory = "C:\\Program Files\\zantic";
  std::string ProgramDirectory() override { return directory; }
  void EndProgram() override;

 private:
  Journal* journal_;
};

// The main window's controls in the state of its first showing.
class FakeForm : public FormControls {
 public:
  explicit FakeForm(Journal* journal);
  Hwnd window = 0xF0;
  bool form_visible = true;

  // The switched controls that are shown, in the order of the Control enumeration.
  std::vector<Control> ShownSwitched() const;

  Hwnd FormWindow() override { return window; }
  void SetVisible(Control control, bool visible) override;
  bool IsVisible(Control control) override { return visible_.at(control); }
  void SetEnabled(Control control, bool enabled) override;
  bool IsEnabled(Control control) override { return enabled_.at(control); }
  std::string GetText(Control control) override { return text_[control]; }
  void SetText(Control control, std::string_view text) override;
  void HideForm() override;
  void ShowForm() override;
  bool IsFormShown() override { return form_visible; }

 private:
  Journal* journal_;
  std::map<Control, bool> visible_, enabled_;
  std::map<Control, std::string> text_;
};

// The tray icon, the digest's window and the input clock, noting what they are asked.
class FakeTray : public TrayIcon {
 public:
  std::string tip = "zantic idle";
  std::vector<std::string> balloons;
  bool removed = false;
  void SetTip(std::string_view text) override { tip = text; }
  void ShowBalloon(std::string_view, std::string_view text) override { balloons.emplace_back(text); }
  void Remove() override { removed = true; }
};

class FakeDigestView : public DigestView {
 public:
  std::vector<std::pair<std::string, std::string>> shown;  // heading, lines
  void ShowDigest(std::string_view heading, std::string_view lines) override { shown.emplace_back(heading, lines); }
};

// The input clock follows the virtual clock; the user's last input and the time of day are
// set by the test.
class FakeInput : public UserInput {
 public:
  explicit FakeInput(std::function<double()> now) : now_(std::move(now)) {}
  std::uint32_t last_input_ms = 0;
  int minute_of_day = 9 * 60 + 5;
  std::uint32_t TickMs() override { return static_cast<std::uint32_t>(now_() * 1000); }
  std::uint32_t LastInputTickMs() override { return last_input_ms; }
  int MinuteOfDay() override { return minute_of_day; }

 private:
  std::function<double()> now_;
};

class FakeScanner : public ChatScanner {
 public:
  explicit FakeScanner(Journal* journal) : journal_(journal) {}
  int starts = 0;
  void StartScanning() override;

 private:
  Journal* journal_;
};

}  // namespace zantic::fakes
