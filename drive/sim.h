// Starts the AOL client stand-in, talks to its control channel and reads its event log.
// sim/README.md describes the commands and the events.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace drive {

// One line of the stand-in's log: its fields as texts ("t" included).
struct Event {
  std::map<std::string, std::string> fields;
  const std::string& operator[](const std::string& key) const;
  std::string event() const { return (*this)["event"]; }
  double t() const;
};

// Parses one flat JSON object of string and number values; nothing on malformed input.
std::optional<Event> ParseEventLine(const std::string& line);

// The folder that holds the test executable (and every program the build made).
std::wstring BuildDir();

// A fresh, empty folder for one test.
std::wstring MakeTempDir(const std::wstring& prefix);

// A fresh folder for one test, removed with all it holds (read-only files too) when it
// goes out of scope.
class TempDir {
 public:
  explicit TempDir(const std::wstring& prefix) : path(MakeTempDir(prefix)) {}
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring path;
};

// Starts a program and returns its process handle.
HANDLE StartProgram(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd);

// Whether the long runs are asked for (ZANTIC_SOAK is set, as scripts/soak does): tests
// then give their long cases their full length.
bool Soak();

// Waits until `condition` holds, checking every 10 ms; false when `timeout` passed first.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

class Sim {
 public:
  struct Options {
    std::wstring screen_name = L"Pat Doe";
    std::wstring extra_args;  // more of the stand-in's command line, e.g. L"--max-lines 50"
  };
  // `log`: where the stand-in's log goes, kept afterwards; empty: a fresh folder.
  explicit Sim(Options options, std::wstring log = {});
  Sim() : Sim(Options{}) {}
  // Ends the stand-in and removes its log (kept when its place was given, or when
  // ZANTIC_KEEP_SIM_LOGS is set).
  ~Sim();
  Sim(const Sim&) = delete;
  Sim& operator=(const Sim&) = delete;

  bool Ready() const { return frame_ != nullptr; }
  HWND Frame() const { return frame_; }
  HANDLE Process() const { return process_; }
  // Sends one control command (UTF-8); false when the stand-in did not take it.
  bool Control(const std::string& command);
  // A line said in the room by anyone (the room the program finds).
  bool Say(const std::string& speaker, const std::string& text);
  // Every event logged so far (valid until the next call).
  const std::vector<Event>& Events() const;
  // The "chat" events so far, in order, and their texts.
  std::vector<Event> ChatLines() const;
  std::vector<std::string> ChatTexts() const;
  // How many chat lines so far have exactly this text (of those logged after the time
  // `after`, the log's "t", when it is given).
  int Count(const std::string& text, double after = -1) const;
  // The transcript paragraphs of the chat lines so far, from the first that shows `first`.
  std::vector<std::string> ShownFrom(const std::string& first) const;
  // Waits for the n-th event (counting from 1) that satisfies the predicate.
  std::optional<Event> WaitForEvent(const std::function<bool(const Event&)>& match, int n = 1,
                                    std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits for the first event of the kind whose field `key` (if given) holds `value`.
  std::optional<Event> WaitFor(const std::string& event, const std::string& key = {},
                               const std::string& value = {},
                               std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // The same, for the first such event logged after the time `after` (the log's "t", in
  // milliseconds of the stand-in's clock): a line that follows another one.
  std::optional<Event> WaitForAfter(double after, const std::string& event,
                                    const std::string& key = {}, const std::string& value = {},
                                    std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits for the first chat line with exactly this text.
  std::optional<Event> WaitForChat(const std::string& text,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Says a line and waits for the first line after it with the text `answer` (the
  // program's reply to it): both, or nothing when no reply came in time.
  struct Exchange {
    Event said, answer;
    double ms() const { return answer.t() - said.t(); }
  };
  std::optional<Exchange> Ask(const std::string& speaker, const std::string& text,
                              const std::string& answer,
                              std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // A barrier for a test that needs the program's chat scanner to read the room: what a
  // room holds before the scanner first looks at it is history, never answered. The user
  // says "show" and waits a little for the program's shown line after it, again and again,
  // until one comes (true) or `timeout` passes. From then on every line said in the room is
  // read. Use it while the program's window is shown (it stays so). Each try adds the user's
  // "show" to the room, and each one said after the scanner's first look the shown line too;
  // one that comes late comes before the answer to anything said after this returns.
  bool WaitUntilProgramReads(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // The first chat room in the MDI child order, its transcript (its first "RICHCNTL") and
  // its entry box (the second). Looked up here with the driver's own code, apart from the
  // program's, on purpose: the tests check the program's lookups against it.
  HWND FirstRoom() const;
  HWND Transcript() const;
  HWND EntryBox() const;
  // The user types the text into the room's entry box and presses Enter, with the mouse and
  // keyboard through the system's input queue, as a person would.
  void TypeAsTheUser(const std::string& text) const;
  // Ends the stand-in as a crash would (the "exit" command); true once the process is gone.
  bool Crash(std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Crashes it and starts it again, as a user restarts the client (a fresh log); true once
  // the new one is ready.
  bool CrashAndRestart();
  void Kill();

 private:
  void Launch();
  Options options_;
  std::wstring dir_;
  std::wstring log_path_;
  bool keep_log_ = false;
  HANDLE process_ = nullptr;
  HWND frame_ = nullptr;
  // The log as read so far: events, where reading stopped, and a line not yet complete.
  mutable std::vector<Event> events_;
  mutable std::uint64_t log_offset_ = 0;
  mutable std::string partial_;
};

// Reads a rich edit of another process as a chat scanner does: lengths and line starts by
// message, text ranges and character formats through memory allocated in the other
// process (the platform does not carry those messages' pointers across processes).
// Positions count UTF-16 code units, a paragraph break as one.
class RemoteRichEdit {
 public:
  explicit RemoteRichEdit(HWND window);
  ~RemoteRichEdit();
  RemoteRichEdit(const RemoteRichEdit&) = delete;
  RemoteRichEdit& operator=(const RemoteRichEdit&) = delete;

  bool Valid() const { return memory_ != nullptr; }
  long Length();
  std::wstring Range(long start, long end);
  // The whole text, read in one message, split at its paragraph breaks; no paragraphs for
  // an empty text.
  std::vector<std::wstring> Paragraphs();
  // The format of the character at `pos` (moves the control's selection there).
  std::optional<CHARFORMAT2W> FormatAt(long pos);

 private:
  bool Reserve(std::size_t bytes);
  HWND window_;
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
  std::size_t size_ = 0;
};

// Saves what the screen shows of the window as a 24-bit BMP file.
bool CaptureWindow(HWND window, const std::wstring& bmp_path);

std::string Narrow(const std::wstring& wide);
std::wstring Widen(const std::string& utf8);

}  // namespace drive
