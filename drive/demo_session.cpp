// demo-session.exe: zantic idle's main job against the AOL client stand-in.
//
//   demo-session.exe [--out FOLDER]            plays one idle period through as a person
//                                              would and leaves a record of it in FOLDER
//   demo-session.exe --desktop [--out FOLDER]  starts both programs for a person to use
//                                              and waits until the stand-in is closed
//   --as-windows-xp                            either with zantic-idle-legacy.exe, the
//                                              program taking every Windows XP way
//
// The scripted session: the stand-in with a lively room, the program beside it; "reg. idle",
// a reason typed into the box, Start, the first minute line, members who ask after the
// user, "hide" and "show" said in the room by the user, Stop and the digest of what was said
// to the user, the tray icon's menu, "X". At each step a screenshot. The record (FOLDER, out\demo by
// default):
//   NN-name.png      the screenshots, in order
//   steps.tsv        one line per screenshot: file, where the program's window was
//                    (left top right bottom, pixels of the picture), caption
//   transcript.txt   the room's transcript as the stand-in shows it at the end
//   aolsim.log       the stand-in's event log (sim/README.md)
//   session.txt      what the session did and when; its last line says how it ended
//   index.html       one page that shows the steps in order
//   program\         the program's folder (zantic-idle.exe and its zantic.ini)
// The exit code is 0 when every step happened, 1 when one did not come in time.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/announcement.h"
#include "drive/input.h"
#include "drive/program.h"
#include "drive/sim.h"

namespace {

using namespace std::chrono;
using namespace drive;
using zantic::Control;

const std::string kUser = "Pat Doe";  // the stand-in's screen name and the stored handle
const std::string kReason = "out for lunch";
const std::string kSettings = "[handle]\r\nHANDLE=" + kUser + "\r\n";

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Html(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Makes a folder and the folders above it.
void MakeFolders(const std::wstring& path) {
  for (std::size_t at = path.find_first_of(L"\\/", 3); at != std::wstring::npos;
       at = path.find_first_of(L"\\/", at + 1)) {
    CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryW(path.c_str(), nullptr);
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t full[MAX_PATH];
  const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? std::wstring(full, n) : path;
}

// The program started from a folder of its own, the user's handle stored beside it; a
// person's own settings file there is kept when `keep_settings`.
Program StartProgramIn(const std::wstring& dir, bool keep_settings, bool as_windows_xp) {
  MakeFolders(dir);
  const bool kept =
      keep_settings && GetFileAttributesW((dir + L"\\zantic.ini").c_str()) != INVALID_FILE_ATTRIBUTES;
  const Program::Options options{dir, kept ? std::string() : kSettings, true};
  return Program(as_windows_xp ? Program::AsOnWindowsXp(options) : options);
}

// Moves the program's window next to the stand-in's, right of it when the screen has room,
// else below it.
RECT PlaceBeside(const Program& program, const Sim& sim) {
  RECT frame{}, window = program.Rect();
  GetWindowRect(sim.Frame(), &frame);
  const int width = window.right - window.left;
  POINT to{frame.right + 24, frame.top + 80};
  if (to.x + width > GetSystemMetrics(SM_CXSCREEN)) to = POINT{frame.left + 80, frame.bottom + 24};
  SetWindowPos(program.Window(), nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  WaitUntil([&] { return program.Rect().left == to.x && program.Rect().top == to.y; });
  return program.Rect();
}

class Recorder {
 public:
  explicit Recorder(std::wstring out)
      : out_(std::move(out)), notes_((out_ + L"\\session.txt").c_str(), std::ios::binary) {}

  void Note(const std::string& what) {
    const double s = duration<double>(steady_clock::now() - start_).count();
    const std::string line = Fixed(s, 3) + " s  " + what;
    notes_ << line << '\n' << std::flush;
    std::printf("demo-session: %s\n", line.c_str());
    std::fflush(stdout);
  }

  // The screen from its top-left corner to a little beyond the two windows.
  void Shoot(const std::string& name, const std::string& caption, const RECT& window, const RECT& frame) {
    const RECT area{
        0, 0, std::min<LONG>(GetSystemMetrics(SM_CXSCREEN), std::max(window.right, frame.right) + 16),
        std::min<LONG>(GetSystemMetrics(SM_CYSCREEN), std::max(window.bottom, frame.bottom) + 16)};
    char number[16];
    std::snprintf(number, sizeof number, "%02zu-", steps_.size() + 1);
    const std::string file = number + name + ".png";
    if (!SavePng(Grab(area), out_ + L"\\" + Widen(file))) Note("could not save " + file);
    steps_.push_back({file, caption, window, area.right - area.left});
    Note("screenshot " + file);
  }

  int Finish(const std::string& outcome, const std::vector<std::wstring>& transcript) {
    Note(outcome);
    std::ofstream tsv((out_ + L"\\steps.tsv").c_str(), std::ios::binary);
    for (const Step& s : steps_) {
      tsv << s.file << '\t' << s.window.left << ' ' << s.window.top << ' ' << s.window.right << ' '
          << s.window.bottom << '\t' << s.caption << '\n';
    }
    std::string room;
    for (const auto& paragraph : transcript) room += Narrow(paragraph) + "\n";
    WriteFileBytes(out_ + L"\\transcript.txt", room);
    WriteIndex(outcome, room);
    return outcome == "session: ok" ? 0 : 1;
  }

 private:
  struct Step {
    std::string file, caption;
    RECT window;
    LONG width;  // of the picture
  };

  void WriteIndex(const std::string& outcome, const std::string& room) {
    std::ostringstream page;
    page << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<title>zantic idle: one idle period</title>\n<style>\n"
         << "body { font-family: sans-serif; max-width: 1240px; margin: 1em auto; padding: 0 1em; }\n"
         << "figure { margin: 0 0 2em 0; } img { max-width: 100%; border: 1px solid #888; }\n"
         << "figcaption { margin-top: .4em; } pre { background: #f4f4f4; padding: .6em; white-space: "
            "pre-wrap; }\n"
         << "b { color: #0050a0; }\n"
         << ".zoom { overflow: hidden; margin-top: .4em; border: 1px solid #888; }\n"
         << ".zoom img { image-rendering: pixelated; display: block; }\n</style>\n</head>\n<body>\n"
         << "<h1>zantic idle: one idle period</h1>\n"
         << "<p>zantic idle beside the AOL client stand-in (<code>aolsim.exe --demo</code>), worked with the "
         << "mouse and keyboard by a script; what the user says in the room goes in through the stand-in's "
         << "control channel. The room's other members chat on their own. " << Html(outcome) << ".</p>\n";
    int n = 0;
    for (const Step& s : steps_) {
      ++n;
      // The whole picture, and beside it the program's window three times as large.
      const LONG w = s.window.right - s.window.left, h = s.window.bottom - s.window.top;
      page << "<figure id=\"step" << n << "\">\n<img src=\"" << s.file << "\" alt=\"step " << n << "\">\n"
           << "<div class=\"zoom\" style=\"width:" << 3 * w << "px;height:" << 3 * h << "px\"><img src=\""
           << s.file << "\" alt=\"the program's window\" style=\"width:" << 3 * s.width
           << "px;max-width:none;border:0;margin-left:" << -3 * s.window.left
           << "px;margin-top:" << -3 * s.window.top << "px\"></div>\n"
           << "<figcaption>" << n << ". " << Html(s.caption) << "</figcaption>\n</figure>\n";
    }
    page << "<h2>The room's transcript</h2>\n<p>As the stand-in shows it at the end; " << Html(kUser)
         << "'s lines (the program's and the user's own) in bold.</p>\n<pre>";
    std::istringstream lines(room);
    for (std::string line; std::getline(lines, line);) {
      const bool user = line.rfind(kUser + ":\t", 0) == 0;
      page << (user ? "<b>" : "") << Html(line) << (user ? "</b>" : "") << "\n";
    }
    page << "</pre>\n<p>Also here: <a href=\"transcript.txt\">transcript.txt</a>, the stand-in's event log "
         << "<a href=\"aolsim.log\">aolsim.log</a>, the session's notes <a "
            "href=\"session.txt\">session.txt</a>.</p>\n"
         << "</body>\n</html>\n";
    WriteFileBytes(out_ + L"\\index.html", page.str());
  }

  std::wstring out_;
  std::ofstream notes_;
  steady_clock::time_point start_ = steady_clock::now();
  std::vector<Step> steps_;
};

// Green pixels of a label as the screen shows it, the window's top-left corner at `window`.
int GreenOf(const RECT& window, Control label) {
  return LabelPixels(Grab(RECT{window.left, window.top, window.left + Px(kFormWidth), window.top + Px(kFormHeight)}), label);
}

// Waits until the screen shows the window in the state a step expects: shown or
// not (its green line), and Start green (enabled) or grey.
void Settle(const RECT& window, bool shown, std::optional<bool> start_enabled = std::nullopt) {
  MoveMouse(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
  WaitUntil(
      [&] {
        const bool line =
            IsGreen(Grab(RECT{window.left + Px(kLineX), window.top + Px(kLineBottom) / 2,
                              window.left + Px(kLineX) + 1, window.top + Px(kLineBottom) / 2 + 1})
                        .At(0, 0));
        return line == shown && (!start_enabled || (GreenOf(window, Control::Label7) > 0) == *start_enabled);
      });
}

int Scripted(const std::wstring& out, bool as_windows_xp) {
  Recorder rec(out);
  Sim sim(Sim::Options{Widen(kUser), L"--demo"}, out + L"\\aolsim.log");
  if (!sim.Ready()) return rec.Finish("session: FAILED: the stand-in did not start", {});
  rec.Note("the stand-in is up, its room chatting");

  auto transcript = [&] { return RemoteRichEdit(sim.Transcript()).Paragraphs(); };
  // The n-th line the user said (the program's lines are the user's too) with this text.
  auto said = [&](const std::string& text, int n = 1, seconds timeout = seconds(10)) {
    return sim.WaitForEvent(
        [&](const Event& e) { return e.event() == "chat" && e["speaker"] == kUser && e["text"] == text; }, n,
        duration_cast<milliseconds>(timeout));
  };
  auto fail = [&](const std::string& what) { return rec.Finish("session: FAILED: " + what, transcript()); };

  Program program = StartProgramIn(out + L"\\program", false, as_windows_xp);
  if (!program.Ready()) return fail("the program's window did not show");
  const auto loaded = said(zantic::LoadedByLine(kUser));
  if (!loaded) return fail("no loaded-by line");
  const RECT window = PlaceBeside(program, sim);
  RECT frame{};
  GetWindowRect(sim.Frame(), &frame);
  rec.Note("the program is up beside the stand-in");
  Settle(window, true, true);
  rec.Shoot("loaded",
            "zantic idle starts beside the chat room and says it was loaded by " + kUser +
                " (the handle in its zantic.ini).",
            window, frame);

  program.Click(Control::Label4);
  if (!WaitUntil([&] { return program.Shown(Control::Text1) && program.Text(Control::Text1) == "reason"; }))
    return fail("\"reg. idle\" showed no reason box");
  Settle(window, true, true);
  rec.Shoot("reg-idle", "\"reg. idle\" picks the regular idler: the reason box appears, holding \"reason\".",
            window, frame);

  program.Type(Control::Text1, kReason);
  if (!WaitUntil([&] { return program.Text(Control::Text1) == kReason; }))
    return fail("the reason was not typed");
  Settle(window, true, true);
  rec.Shoot("reason", "The reason typed over it: \"" + kReason + "\".", window, frame);

  program.Click(Control::Label7);
  const auto began = said(zantic::BeganLine());
  const auto reason = said(zantic::ReasonLine(kReason));
  if (!began || !reason) return fail("Start posted no began line and reason line");
  Settle(window, true, false);
  rec.Shoot("start",
            "Start: the room is told that " + kUser + " just began to idle, and " +
                Fixed((reason->t() - began->t()) / 1000, 3) +
                " s later the reason. Start and the reason box are greyed out while the idle period runs.",
            window, frame);

  rec.Note("waiting for the first full minute");
  const auto minute = said(zantic::MinuteLine("1"), 1, seconds(75));
  const auto again = said(zantic::ReasonLine(kReason), 2);
  if (!minute || !again) return fail("no minute line and reason line after a minute");
  Settle(window, true, false);
  rec.Shoot("minute",
            "A full minute later (" + Fixed((minute->t() - began->t()) / 1000, 3) +
                " s after the began line): \"1 minute(s).\", and the reason again.",
            window, frame);

  // Two members ask after the user, who is away.
  sim.Say("Kim Lee", kUser + ", are you there?");
  sim.Say("Sam Ray", "i think pat doe went out for lunch");

  sim.Say(kUser, "hide");
  if (!said(zantic::HiddenLine()) || !WaitUntil([&] { return !IsWindowVisible(program.Window()); }))
    return fail("\"hide\" did not hide the window");
  Settle(window, false);
  rec.Shoot("hidden",
            kUser +
                " types \"hide\" in the room: the window hides (the idle period goes on) "
                "and the room is told.",
            window, frame);

  sim.Say(kUser, "show");
  if (!said(zantic::ShownLine()) || !WaitUntil([&] { return IsWindowVisible(program.Window()) != FALSE; }))
    return fail("\"show\" did not show the window");
  Settle(window, true, false);
  rec.Shoot("shown", kUser + " types \"show\": the window is back, still idling, and the room is told.",
            window, frame);

  const auto stop = steady_clock::now();
  program.Click(Control::Label8);
  if (!said(zantic::OffIdleLine(kUser, "1"))) return fail("Stop posted no off-idle line");
  const double after = duration<double>(steady_clock::now() - stop).count();
  Settle(window, true, true);
  rec.Shoot("stop",
            "Stop: " + Fixed(after, 1) + " s after the click the room hears that " + kUser +
                " is off idle after 1 minute(s). Start is green again.",
            window, frame);

  // After the off-idle line, privately: what was said to the user while they were away.
  const auto shown = WaitForDigest();
  if (!shown) return fail("the digest of the room did not open");
  const HWND digest = shown->window;
  SetWindowPos(digest, nullptr, frame.left + 40, frame.top + 150, 620, 190, SWP_NOZORDER);
  Settle(window, true, true);
  rec.Shoot("digest",
            "With the off-idle line comes a window for " + kUser + " alone: how many lines the room said "
            "meanwhile, and each one that named " + kUser + ", with its time. The room hears nothing of it.",
            window, frame);
  PostMessageW(digest, WM_CLOSE, 0, 0);
  WaitUntil([&] { return !IsWindow(digest); });
  Sleep(300);

  // The program's icon in the notification area (under Wine without a desktop tray, in Wine's own
  // tray window at the top left), as the shell tells of a right click on it.
  if (!program.OpenTrayMenu(POINT{window.left, window.bottom + 8})) return fail("the tray icon's menu did not open");
  // The shot once the menu shows its items: dark text on its face, inside its frame.
  WaitUntil([] {
    RECT r{};
    if (!GetWindowRect(FindWindowW(L"#32768", nullptr), &r)) return false;
    InflateRect(&r, -4, -4);
    const Shot shot = Grab(r);
    return std::count_if(shot.pixels.begin(), shot.pixels.end(),
                         [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 150; }) > 50;
  });
  rec.Shoot("tray-menu",
            "The icon in the notification area: a click hides or shows the window (no line in the room), "
            "and its menu opens the digest again, stops idling, turns idling by itself on or off, or exits "
            "as \"X\" does.",
            window, frame);
  Key(VK_ESCAPE);

  program.Click(Control::Label2);
  const auto unloaded = said(zantic::UnloadedByLine(kUser));
  if (!unloaded) return fail("\"X\" posted no unloaded-by line");
  if (!program.Ended(seconds(10))) return fail("the program did not end after \"X\"");
  DWORD code = 0;
  GetExitCodeProcess(program.Process(), &code);
  rec.Note("program ended, exit code " + std::to_string(code));
  Settle(window, false);
  rec.Shoot("closed",
            "\"X\": the room hears that zantic idle was unloaded by " + kUser +
                ", the window slides away and the program ends.",
            window, frame);
  return rec.Finish("session: ok", transcript());
}

int Desktop(const std::wstring& out, bool as_windows_xp) {
  Sim sim(Sim::Options{Widen(kUser), L"--demo"}, out + L"\\aolsim.log");
  if (!sim.Ready()) {
    std::printf("demo-session: the stand-in did not start\n");
    return 1;
  }
  Program program = StartProgramIn(out + L"\\program", true, as_windows_xp);
  if (!program.Window()) {
    std::printf("demo-session: the program's window did not show\n");
    return 1;
  }
  PlaceBeside(program, sim);
  std::printf(
      "demo-session: zantic idle is running beside the stand-in's chat room, where you are %s.\n"
      "demo-session: type \"hide\" or \"show\" in the room's entry box and press Enter to hide or\n"
      "demo-session: show zantic idle; close the stand-in's window to end.\n",
      kUser.c_str());
  std::fflush(stdout);
  WaitForSingleObject(sim.Process(), INFINITE);
  return 0;  // the program, if still running, ends with `program`
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring out = L"out\\demo";
  bool desktop = false, as_windows_xp = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--desktop") {
      desktop = true;
    } else if (arg == L"--as-windows-xp") {
      as_windows_xp = true;
    } else if (arg == L"--out" && i + 1 < argc) {
      out = argv[++i];
    } else {
      std::fprintf(stderr, "usage: demo-session.exe [--desktop] [--out FOLDER] [--as-windows-xp]\n");
      return 2;
    }
  }
  LocalFree(argv);
  out = FullPath(out);
  MakeFolders(out);
  return desktop ? Desktop(out, as_windows_xp) : Scripted(out, as_windows_xp);
}
