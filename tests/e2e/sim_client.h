// Starts the AOL client stand-in, talks to its control channel and reads its event log.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

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

// Starts a program and returns its process handle.
HANDLE StartProgram(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd);

// Waits until `condition` holds, checking every 10 ms; false when `timeout` passed first.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

class Sim {
 public:
  struct Options {
    std::wstring screen_name = L"Pat Doe";
    std::wstring extra_args;
  };
  explicit Sim(Options options);
  Sim() : Sim(Options{}) {}
  ~Sim();
  Sim(const Sim&) = delete;
  Sim& operator=(const Sim&) = delete;

  bool Ready() const { return frame_ != nullptr; }
  HWND Frame() const { return frame_; }
  HANDLE Process() const { return process_; }
  // Sends one control command (UTF-8); false when the stand-in did not take it.
  bool Control(const std::string& command);
  // Every event logged so far.
  std::vector<Event> Events() const;
  // The "chat" events so far, in order.
  std::vector<Event> ChatLines() const;
  // Waits for the n-th event (counting from 1) that satisfies the predicate.
  std::optional<Event> WaitForEvent(const std::function<bool(const Event&)>& match, int n = 1,
                                    std::chrono::milliseconds timeout = std::chrono::seconds(10));
  void Kill();

 private:
  std::wstring dir_;
  std::wstring log_path_;
  HANDLE process_ = nullptr;
  HWND frame_ = nullptr;
};

std::string Narrow(const std::wstring& wide);
std::wstring Widen(const std::string& utf8);

}  // namespace e2e
