// Starts the real zantic-idle.exe from a folder of its own and works its window as a
// person would: finds its controls, clicks them, types into its boxes, reads its message
// boxes. Also the window's layout table, in twips, for pixel checks.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "drive/input.h"
#include "drive/screen.h"
#include "drive/sim.h"
#include "platform/ports.h"

namespace drive {

using zantic::Control;

// The display's DPI and twips to pixels on it.
int Dpi();
int Px(int twips);
RECT PxRect(int left, int top, int width, int height);

// The labels as the window shows them: caption and place in twips. The layout is written out
// here a second time, apart from the program's own table, on purpose: the window tests
// check what the program draws against it.
struct LabelPlace {
  Control control;
  const char* caption;
  int left, top, width, height;
};
extern const LabelPlace kLabels[14];
const LabelPlace& PlaceOf(Control label);
inline constexpr int kFormWidth = 3420, kFormHeight = 855, kLineX = 720, kLineBottom = 840;

class Program {
 public:
  struct Options {
    std::wstring dir;      // the program's folder; empty: a fresh one
    std::string settings;  // bytes of zantic.ini put beside it first, when not empty
    bool wait_shown = true;
    std::wstring exe = L"zantic-idle.exe";  // which of the build's programs (the benchmarks
                                            // also start their reference builds)
    int tray_version = 4;  // the form of the shell's tray callbacks the program asked for
  };
  // zantic-idle-legacy.exe, the program built to take every Windows XP way (no function of
  // a later Windows, the tray in the shell's version 3), with these options.
  static Options AsOnWindowsXp(Options options);
  explicit Program(Options options);
  Program() : Program(Options{}) {}
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The window is there and shown (after its first paint).
  bool Ready() const { return window_ != nullptr; }
  bool WaitShown(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits for the window to be made, shown or not (Window() is then that window).
  bool WaitMade(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits for the process to end.
  bool Ended(std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

  const std::wstring& Dir() const { return dir_; }
  const std::wstring& Exe() const { return exe_; }
  std::wstring SettingsPath() const { return dir_ + L"\\zantic.ini"; }
  HWND Window() const { return window_; }
  HANDLE Process() const { return process_; }
  HWND Child(Control c) const;
  bool Shown(Control c) const;
  bool Enabled(Control c) const;
  RECT Rect() const;
  // A point of the window, given in twips from its top-left corner, on the screen.
  POINT At(int x_twips, int y_twips) const;
  POINT CentreOf(Control c) const;
  // A click with the mouse on the middle of a control.
  void Click(Control c) const;
  // Clicks a label that shows a message box ("greetz", "?") and answers the box: how long
  // from the press to the box (10 s or more: it did not come).
  std::chrono::milliseconds ClickForBox(Control label) const;
  std::string Text(Control c) const;
  // Clicks into a box, selects all it holds and types the text over it.
  void Type(Control box, const std::string& utf8) const;
  // Puts the text into a box in one message, as a paste would (for texts too long to type).
  void SetText(Control box, const std::string& utf8) const;
  // "reg. idle", the reason typed into its box, "Start".
  void StartRegularRun(const std::string& reason) const;
  // "other", "handle", the handle put into the box, "set": what the box showed before.
  std::string SetHandle(const std::string& handle) const;
  // "X", and the program's end: its exit code, or nothing when it did not end.
  std::optional<DWORD> Exit() const;
  HWND Focus() const;
  Shot Screenshot() const { return Grab(Rect()); }
  // What the shell sends the window for a click on its tray icon (`event`: NIN_SELECT,
  // WM_CONTEXTMENU, NIN_BALLOONUSERCLICK) at `at`, as if it came from there, in the form of
  // the program's tray version (version 3 tells no place: the pointer is moved there).
  void TrayEvent(UINT event, POINT at = POINT{200, 200}) const;
  // The tray icon's menu, opened as a right click on the icon opens it (tried up to three
  // times); true once it shows.
  bool OpenTrayMenu(POINT at = POINT{200, 200}) const;

 private:
  bool FindWindowOfProcess(bool shown);
  std::unique_ptr<TempDir> own_dir_;  // the folder made for it, removed after it ends
  std::wstring dir_;
  std::wstring exe_;
  int tray_version_;
  HANDLE process_ = nullptr;
  HWND window_ = nullptr;
};

// Watches where a window's top edge lies while it moves: a thread of its own reads it as
// often as it can and keeps each new value, in pixels, until the window is gone.
class TopWatcher {
 public:
  explicit TopWatcher(HWND window);
  ~TopWatcher();
  TopWatcher(const TopWatcher&) = delete;
  TopWatcher& operator=(const TopWatcher&) = delete;
  // Waits until the window is gone (at most `timeout`); then every top seen, the first
  // one (before any move) included.
  std::vector<int> Tops(std::chrono::milliseconds timeout = std::chrono::seconds(10));

 private:
  HWND window_;
  std::vector<int> tops_;
  std::mutex mutex_;
  std::atomic<bool> stop_{false}, gone_{false};
  std::thread thread_;
};

// Green pixels (a caption's) of a label where only that label can put them: inside its
// place, outside every other label's and off the line; `shot` holds the window from its
// top-left corner.
int LabelPixels(const Shot& shot, Control label);

// The text of a window of another process, as it gives it (WM_GETTEXT).
std::string WindowText(HWND window);

// Watches a window answer: sends it an empty message every 20 ms on a thread of its own and
// keeps the longest time one took, until Stop.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND window);
  ~AnswerWatch();
  AnswerWatch(const AnswerWatch&) = delete;
  AnswerWatch& operator=(const AnswerWatch&) = delete;
  // The longest the window took to answer, in milliseconds.
  long long Stop();

 private:
  std::atomic<bool> stop_{false};
  std::atomic<long long> longest_{0};
  std::thread thread_;
};

// The program's message box ("#32770" titled "zantic idle"), once it is up; 0 on timeout.
HWND WaitForBox(std::chrono::milliseconds timeout = std::chrono::seconds(10),
                const wchar_t* title = L"zantic idle");
// The box's text (its static with id 0xFFFF).
std::string BoxText(HWND box);
// Presses the box's OK button; true once the box is gone.
bool AnswerBox(HWND box);
// The text of the program's next message box, which it answers; "(no box)" when none came
// up, "(not answered)" when it would not go.
std::string AnswerNextBox();

// The program's digest of the room, once its window is shown (it is shown holding the
// digest): the window, its heading and its lines; nothing when it did not come in time.
struct Digest {
  HWND window = nullptr;
  std::string heading, lines;
};
std::optional<Digest> WaitForDigest(std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Saves a shot as build/win64/artifacts/NAME.png, for a person to look at.
void SaveArtifact(const Shot& shot, const std::wstring& name);

// Reads a whole file; nothing when it is missing.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

}  // namespace drive
