// State and building blocks shared by the stand-in's windows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace aolsim {

// What the command line and the control channel set.
struct Settings {
  std::wstring screen_name = L"Pat Doe";
  int max_lines = 1000;          // transcript lines kept per room
  int max_line_chars = 8192;     // characters of a line's text shown (0: all)
  bool wrap = true;              // the transcript wraps long lines, as the client's does
  bool ansi = false;             // the rich edits are ANSI windows, as an older client's are
  double im_delay_s = 0.3;       // keyword to Send Instant Message window
  bool im_never = false;         // keywords never open the window
  int im_icons = 12;             // "_AOL_Icon" children of a new Send Instant Message window
  bool demo = false;             // other members chat now and then
};

extern Settings g_settings;
extern HINSTANCE g_instance;
extern HWND g_frame;
extern HWND g_mdi;

// The other members of every room.
inline constexpr const wchar_t* kMembers[] = {L"Kim Lee", L"Sam Ray", L"Jo Park", L"Alex Finn"};

// Messages the frame posts to itself.
inline constexpr UINT kHangMessage = WM_APP + 1;  // wParam: milliseconds
inline constexpr UINT kExitMessage = WM_APP + 2;

// Text conversions.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
// To and from the ANSI code page as the system converts for an ANSI window.
std::string Ansi(std::wstring_view wide);
std::wstring FromAnsi(std::string_view ansi);
// The text as a rich edit holds it once given it: with --ansi, what the code page keeps.
std::wstring ThroughRichEdit(std::wstring_view text);

// Fonts and colours of the client's look.
HFONT UiFont();
HFONT BoldFont();
HFONT TitleFont();
inline constexpr COLORREF kChildBack = RGB(214, 224, 242);
inline constexpr COLORREF kToolbarBack = RGB(42, 82, 160);
HBRUSH ChildBackBrush();

// Registers the client's control classes: "RICHCNTL", "_AOL_Icon", "_AOL_Static",
// "_AOL_Listbox", "_AOL_Edit", "_AOL_Combobox", "AOL Toolbar", "_AOL_Toolbar".
void RegisterControlClasses();

// Makes a child window of the class, with the UI font.
HWND MakeChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
               int w, int h, int id = 0, DWORD ex_style = 0);

// An "_AOL_Icon": a button of the client's own. A click (WM_LBUTTONDOWN then WM_LBUTTONUP,
// by mouse or by message) sends WM_COMMAND(id, BN_CLICKED) to its parent.
HWND MakeIcon(HWND parent, const wchar_t* label, int id, int x, int y, int w, int h);

// Turns a "RICHCNTL" into a box that one types into: WM_SETTEXT replaces its content
// (kept exactly, whatever characters it holds), and a carriage return (WM_CHAR 13, or Enter
// pressed by a person) hands the content to `on_enter`.
void MakeInputBox(HWND richcntl, bool multiline, std::function<void(HWND box, std::wstring text)> on_enter);
// The content of an input box: exactly what WM_SETTEXT put there, unless a person has
// edited it since.
std::wstring InputBoxText(HWND box);
void ClearInputBox(HWND box);

// The whole text of a rich edit, its paragraphs ended by \r, as the control holds it.
std::wstring RichText(HWND box);

// A window of the MDI client ("AOL Child"): the object behind it gets its messages first.
class MdiWindow {
 public:
  virtual ~MdiWindow() = default;
  // True when the message was handled; `result` is then its result.
  virtual bool OnMessage(HWND window, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) = 0;
  // The window is gone; the object may delete itself.
  virtual void OnDestroyed() = 0;
  HWND window = nullptr;
};

// Creates an "AOL Child" window for `owner`, at the front of the MDI child order or at the
// back, without taking the front away from the window that had it.
HWND CreateMdiChild(MdiWindow* owner, const std::wstring& caption, int x, int y, int w, int h,
                    bool front = true);
LRESULT CALLBACK ChildProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);

// Paints a static's background like its parent's.
bool HandleCtlColor(UINT msg, WPARAM wparam, LRESULT& result);

// --- Chat rooms (room.cpp) -------------------------------------------------------------

// One line said in a room: the speaker and the exact text (HTML), as it arrived.
struct ChatPost {
  std::wstring speaker;
  std::wstring text;
};

class Room;
// Opens a chat room at the front of the MDI child order or at its back.
Room* OpenRoom(const std::wstring& name, bool front);
void CloseRoom(Room* room);
// The room the program finds: the first in the MDI child order; null when none is open.
Room* FirstRoom();
Room* FindRoom(const std::wstring& name);
const std::wstring& RoomName(const Room* room);
// Says the lines in the room, in order: each is logged as a "chat" event and shown in the
// transcript. A batch is shown with one update of the transcript.
void PostLines(Room* room, const std::vector<ChatPost>& lines);
void ClearTranscript(Room* room);
// Shows the line `from_end` from the end (1: the last) with the rendering of `text` (HTML)
// in place of its own, its speaker kept; false when there is no such line.
bool ChangeLine(Room* room, std::size_t from_end, const std::string& text);
// Takes the room's children of the class ("_AOL_Listbox", "_AOL_Icon" or "_AOL_Static")
// away and makes them again after `ms`; false for another class.
bool DropChildren(Room* room, const std::wstring& cls, UINT ms);
// Types the text into the room's entry box as a person would, a character at a time at the
// caret, without sending it.
void TypeIntoEntry(Room* room, const std::wstring& text);
// Logs what the room's entry box holds and where its caret is (an "entry" event).
void LogEntry(Room* room);
// The user's entry in every room's member list follows a change of screen name.
void RenameMember(const std::wstring& old_name, const std::wstring& new_name);

// --- Keywords, instant messages and message boxes (im.cpp) ------------------------------

// The keyword box's content went to the client (Enter, or the Go icon).
void RunKeyword(const std::wstring& box_text);
// Opens a Send Instant Message window for the recipient at once.
void OpenImWindow(const std::wstring& recipient);
// A timer of the main window that belongs to a pending Send Instant Message window.
bool HandleImTimer(UINT_PTR id);
// Shows an "America Online" message box on a thread of its own, so the main window goes
// on answering while the box waits for its answer.
void ShowAolMessageBox(const std::wstring& text, std::string_view reason);

// --- The Welcome window (aolsim.cpp) -----------------------------------------------------

void ShowWelcome(bool front);
void HideWelcome();
void SetScreenName(const std::wstring& name);

// --- The control channel, flood and demo chatter (control.cpp) -----------------------------

// Runs one control command; false (and a "control_error" event) when it is not understood.
bool RunControlCommand(const std::string& command);
// A timer of the main window that belongs to the flood or the demo chatter.
bool HandleControlTimer(UINT_PTR id);
void StartDemo(bool on);

}  // namespace aolsim
