// A chat room: its window, its transcript and its entry box.
//
// The transcript is the room's first "RICHCNTL": one paragraph per line, "<speaker>:<TAB>
// <text as rendered>", paragraphs separated by the rich edit's own paragraph break, no
// break after the last one. It is only ever changed by selection + replace (lines added at
// the end, the oldest lines removed from the top, a clear removing everything), each change
// whole within one message of the main window: a reader in another process never sees a
// part of a line. Lines beyond the room's limit drop off the top as new ones arrive. As
// faults, a line already shown can be changed in place, and the room can lose its children
// of one class for a while.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <deque>
#include <iterator>
#include <memory>
#include <vector>

#include "sim/html_render.h"
#include "sim/sim.h"
#include "sim/sim_log.h"

namespace aolsim {

namespace {

constexpr int kSendIconId = 201;
constexpr int kNotifyIconId = 202;
constexpr int kPrefsIconId = 203;
constexpr int kTabTwips = 1300;  // where a line's text starts, and where its wrapped rows go
constexpr UINT_PTR kRestoreTimer = 1;  // + the index of a class in kDroppable
// The classes of child that `drop-child` can take away (not "RICHCNTL": the transcript and
// the entry box stay the same windows).
constexpr const wchar_t* kDroppable[] = {L"_AOL_Listbox", L"_AOL_Icon", L"_AOL_Static"};

struct WideRun {
  std::wstring text;
  TextStyle style;
};

// One transcript line as it is shown.
struct Paragraph {
  std::vector<WideRun> runs;
  std::wstring shown;  // the paragraph's text: speaker, ":", tab, rendered text
};

Paragraph MakeParagraph(const std::string& speaker, const std::string& text) {
  Paragraph p;
  p.runs.push_back(WideRun{ThroughRichEdit(Wide(OneLine(speaker)) + L":\t"), TextStyle{}});
  // A line's text is shown up to a bound: the platform's rich edit takes time that grows
  // faster than the length of a paragraph to lay it out.
  std::size_t budget = g_settings.max_line_chars > 0 ? static_cast<std::size_t>(g_settings.max_line_chars)
                                                     : static_cast<std::size_t>(-1);
  for (const Run& run : RenderChatHtml(text)) {
    if (budget == 0) break;
    std::wstring w = ThroughRichEdit(Wide(run.text));
    if (w.size() > budget) {
      std::size_t cut = budget;
      if (IS_HIGH_SURROGATE(w[cut - 1])) --cut;  // never half a character
      w.resize(cut);
      budget = 0;
    } else {
      budget -= w.size();
    }
    if (!w.empty()) p.runs.push_back(WideRun{std::move(w), run.style});
  }
  for (const WideRun& r : p.runs) p.shown += r.text;
  return p;
}

CHARFORMAT2W CharFormat(const TextStyle& style) {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_COLOR | CFM_BACKCOLOR | CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC |
              CFM_UNDERLINE | CFM_STRIKEOUT;
  cf.crTextColor = style.color;
  if (style.back == kNoBackColor) {
    cf.dwEffects |= CFE_AUTOBACKCOLOR;
  } else {
    cf.crBackColor = style.back;
  }
  if (style.bold) cf.dwEffects |= CFE_BOLD;
  if (style.italic) cf.dwEffects |= CFE_ITALIC;
  if (style.underline) cf.dwEffects |= CFE_UNDERLINE;
  if (style.strike) cf.dwEffects |= CFE_STRIKEOUT;
  cf.yHeight = style.size_pt * 20;
  const bool symbol = IsSymbolFace(style.face);
  cf.bCharSet = symbol ? SYMBOL_CHARSET : DEFAULT_CHARSET;
  cf.bPitchAndFamily = symbol ? DEFAULT_PITCH | FF_DONTCARE : DEFAULT_PITCH | FF_SWISS;
  const std::wstring face = Wide(style.face).substr(0, LF_FACESIZE - 1);
  lstrcpynW(cf.szFaceName, face.c_str(), LF_FACESIZE);
  return cf;
}

}  // namespace

class Room : public MdiWindow {
 public:
  explicit Room(std::wstring room_name) : name(std::move(room_name)) {}

  void Build() {
    // Child order matters to the program: the transcript is the first "RICHCNTL", the
    // entry box the second.
    MakeTitle();
    transcript = MakeChild(window, L"RICHCNTL", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                           0, 0, 10, 10, 0, WS_EX_CLIENTEDGE);
    SetUpTranscript();
    MakePeople();
    MakeMembers();
    entry = MakeChild(window, L"RICHCNTL", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 10, 10, 0,
                      WS_EX_CLIENTEDGE);
    MakeInputBox(entry, false, [this](HWND box, std::wstring text) { SendFromEntry(box, std::move(text)); });
    MakeIcons();
    RECT r;
    GetClientRect(window, &r);
    Layout(r.right, r.bottom);
  }

  // Takes the room's children of one class away, and makes them again after `ms`; false
  // for a class it cannot take.
  bool DropChildren(const std::wstring& cls, UINT ms) {
    const auto which = std::find(std::begin(kDroppable), std::end(kDroppable), cls);
    if (which == std::end(kDroppable)) return false;
    const std::size_t kind = static_cast<std::size_t>(which - std::begin(kDroppable));
    for (HWND* child : ChildrenOf(kind)) {
      if (*child) DestroyWindow(*child);
      *child = nullptr;
    }
    Log("fault", {{"mode", "drop_child"}, {"state", "begin"}, {"room", Utf8(name)}, {"class", Utf8(cls)},
                  {"seconds", LogValue::Number(ms / 1000.0)}});
    SetTimer(window, kRestoreTimer + kind, ms, nullptr);
    return true;
  }

  // Shows the line `from_end` from the end (1: the last) with the rendering of `text` in
  // place of its own, the speaker kept, in one replace; false when there is no such line.
  bool ChangeLine(std::size_t from_end, const std::string& text) {
    if (from_end == 0 || from_end > lengths_.size()) return false;
    const std::size_t index = lengths_.size() - from_end;
    long start = 0;
    for (std::size_t i = 0; i < index; ++i) start += lengths_[i] + 1;
    const long length = lengths_[index];
    const std::wstring old = RichText(transcript).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    const std::size_t separator = old.find(L":\t");
    const Paragraph p =
        MakeParagraph(Utf8(separator == std::wstring::npos ? old : old.substr(0, separator)), text);
    SendMessageW(transcript, WM_SETREDRAW, FALSE, 0);
    SendMessageW(transcript, EM_SETSEL, start, start + length);
    for (const WideRun& run : p.runs) {
      CHARFORMAT2W cf = CharFormat(run.style);
      SendMessageW(transcript, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
      SendMessageW(transcript, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(run.text.c_str()));
    }
    lengths_[index] = static_cast<long>(p.shown.size());
    total_ += lengths_[index] - length;
    if (TextLength() != total_) Resync();
    SendMessageW(transcript, EM_SETSEL, total_, total_);
    SendMessageW(transcript, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(transcript, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    Log("transcript", {{"room", Utf8(name)}, {"state", "changed"}, {"line", LogValue::Number(from_end)},
                       {"shown", Utf8(p.shown)}});
    return true;
  }

  bool OnMessage(HWND, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    switch (msg) {
      case WM_TIMER:
        if (wparam < kRestoreTimer || wparam >= kRestoreTimer + std::size(kDroppable)) return false;
        RestoreChildren(wparam - kRestoreTimer);
        result = 0;
        return true;
      case WM_SIZE:
        Layout(LOWORD(lparam), HIWORD(lparam));
        return false;  // the MDI child's own handling goes on
      case WM_COMMAND:
        if (LOWORD(wparam) == kSendIconId && HIWORD(wparam) == BN_CLICKED) {
          SendFromEntry(entry, InputBoxText(entry));
          result = 0;
          return true;
        }
        return false;
      case WM_CTLCOLORSTATIC:
        return HandleCtlColor(msg, wparam, result);
    }
    return false;
  }

  void OnDestroyed() override;

  void Append(const std::vector<Paragraph>& paragraphs) {
    if (paragraphs.empty()) return;
    const LONG_PTR style_before = GetWindowLongPtrW(transcript, GWL_STYLE) & WS_VSCROLL;
    SendMessageW(transcript, WM_SETREDRAW, FALSE, 0);
    if (TextLength() != total_) Resync();
    SendMessageW(transcript, EM_SETSEL, total_, total_);
    // Adjacent runs of the same look go in with one replace: a flood of plain lines is one
    // operation per batch, not one per line.
    std::vector<WideRun> merged;
    for (const Paragraph& p : paragraphs) {
      const bool separator = !lengths_.empty();
      for (std::size_t i = 0; i < p.runs.size(); ++i) {
        std::wstring text = (i == 0 && separator) ? L"\r" + p.runs[i].text : p.runs[i].text;
        if (!merged.empty() && merged.back().style == p.runs[i].style) {
          merged.back().text += text;
        } else {
          merged.push_back(WideRun{std::move(text), p.runs[i].style});
        }
      }
      total_ += static_cast<long>(p.shown.size()) + (separator ? 1 : 0);
      lengths_.push_back(static_cast<long>(p.shown.size()));
    }
    for (const WideRun& run : merged) {
      CHARFORMAT2W cf = CharFormat(run.style);
      SendMessageW(transcript, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
      SendMessageW(transcript, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(run.text.c_str()));
    }
    DropExcess();
    if (TextLength() != total_) Resync();
    SendMessageW(transcript, WM_SETREDRAW, TRUE, 0);
    // A scroll bar that came or went while drawing was off gets its place in the frame.
    if ((GetWindowLongPtrW(transcript, GWL_STYLE) & WS_VSCROLL) != style_before) {
      SetWindowPos(transcript, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(transcript, WM_VSCROLL, SB_BOTTOM, 0);
    // The frame too: the scroll bar's thumb moved while drawing was off.
    RedrawWindow(transcript, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  }

  void Clear() {
    SendMessageW(transcript, EM_SETSEL, 0, -1);
    SendMessageW(transcript, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    lengths_.clear();
    total_ = 0;
    SetParagraphFormat();
    Log("transcript", {{"room", Utf8(name)}, {"state", "cleared"}});
  }

  void Rename(const std::wstring& old_name, const std::wstring& new_name) {
    if (!members) return;  // taken away for now: made again with the new name
    const LRESULT i = SendMessageW(members, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(old_name.c_str()));
    if (i != LB_ERR) SendMessageW(members, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
    SendMessageW(members, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(new_name.c_str()));
    UpdatePeople();
  }

  std::wstring name;
  HWND title = nullptr, transcript = nullptr, people = nullptr, members = nullptr, entry = nullptr,
       send = nullptr, notify = nullptr, prefs = nullptr;

 private:
  // The children of one class in kDroppable.
  std::vector<HWND*> ChildrenOf(std::size_t kind) {
    switch (kind) {
      case 0: return {&members};
      case 1: return {&send, &notify, &prefs};
      default: return {&title, &people};
    }
  }

  void MakeTitle() {
    title = MakeChild(window, L"_AOL_Static", name.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 10, 10);
    SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(TitleFont()), FALSE);
  }

  void MakePeople() {
    people = MakeChild(window, L"_AOL_Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10);
    SendMessageW(people, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont()), FALSE);
    UpdatePeople();
  }

  void MakeMembers() {
    members = MakeChild(window, L"_AOL_Listbox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0,
                        0, 10, 10, 0, WS_EX_CLIENTEDGE);
    SendMessageW(members, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g_settings.screen_name.c_str()));
    for (const wchar_t* member : kMembers) SendMessageW(members, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(member));
    UpdatePeople();
  }

  void MakeIcons() {
    send = MakeIcon(window, L"Send", kSendIconId, 0, 0, 10, 10);
    notify = MakeIcon(window, L"Notify AOL", kNotifyIconId, 0, 0, 10, 10);
    prefs = MakeIcon(window, L"Chat Prefs", kPrefsIconId, 0, 0, 10, 10);
  }

  // The children of one class in kDroppable are made again.
  void RestoreChildren(std::size_t kind) {
    KillTimer(window, kRestoreTimer + kind);
    if (kind == 0) MakeMembers();
    if (kind == 1) MakeIcons();
    if (kind == 2) MakeTitle(), MakePeople();
    RECT r;
    GetClientRect(window, &r);
    Layout(r.right, r.bottom);
    Log("fault", {{"mode", "drop_child"}, {"state", "end"}, {"room", Utf8(name)}, {"class", Utf8(kDroppable[kind])}});
  }

  void SetUpTranscript() {
    SendMessageW(transcript, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SendMessageW(transcript, EM_SETUNDOLIMIT, 0, 0);
    SendMessageW(transcript, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
    if (!g_settings.wrap) SendMessageW(transcript, EM_SETTARGETDEVICE, 0, 1);
    CHARFORMAT2W cf = CharFormat(TextStyle{});
    SendMessageW(transcript, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    SetParagraphFormat();
  }

  void SetParagraphFormat() {
    PARAFORMAT2 pf{};
    pf.cbSize = sizeof pf;
    pf.dwMask = PFM_TABSTOPS | PFM_OFFSET | PFM_STARTINDENT;
    pf.cTabCount = 1;
    pf.rgxTabs[0] = kTabTwips;
    pf.dxOffset = kTabTwips;  // wrapped rows start where the text does
    SendMessageW(transcript, EM_SETSEL, 0, -1);
    SendMessageW(transcript, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    SendMessageW(transcript, EM_SETSEL, total_, total_);
  }

  long TextLength() const {
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<long>(
        SendMessageW(transcript, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
  }

  // Oldest lines off the top, in one replace.
  void DropExcess() {
    const std::size_t limit = static_cast<std::size_t>(std::max(1, g_settings.max_lines));
    if (lengths_.size() <= limit) return;
    const std::size_t drop = lengths_.size() - limit;
    long upto = 0;
    for (std::size_t i = 0; i < drop; ++i) upto += lengths_[i] + 1;  // the line and its break
    SendMessageW(transcript, EM_SETSEL, 0, upto);
    SendMessageW(transcript, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    lengths_.erase(lengths_.begin(), lengths_.begin() + static_cast<std::ptrdiff_t>(drop));
    total_ -= upto;
    SendMessageW(transcript, EM_SETSEL, total_, total_);
  }

  // The line lengths from the transcript itself, should they ever disagree with it.
  void Resync() {
    const long n = TextLength();
    const std::wstring text = RichText(transcript);
    lengths_.clear();
    if (!text.empty()) {
      std::size_t start = 0;
      for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == L'\r') {
          lengths_.push_back(static_cast<long>(i - start));
          start = i + 1;
        }
      }
    }
    Log("transcript", {{"room", Utf8(name)},
                       {"state", "resync"},
                       {"expected", LogValue::Number(total_)},
                       {"actual", LogValue::Number(n)}});
    total_ = n;
  }

  void SendFromEntry(HWND box, std::wstring text) {
    ClearInputBox(box);
    if (text.empty()) return;  // the client sends no empty lines
    PostLines(this, {ChatPost{g_settings.screen_name, std::move(text)}});
  }

  void UpdatePeople() {
    if (!members || !people) return;
    const LRESULT n = SendMessageW(members, LB_GETCOUNT, 0, 0);
    SetWindowTextW(people, (std::to_wstring(n) + L" people here").c_str());
  }

  void Layout(int w, int h) {
    const int list_w = 150, gap = 8, top = 40, entry_h = 26;
    const int text_w = std::max(40, w - list_w - 3 * gap);
    const int text_h = std::max(40, h - top - entry_h - 2 * gap);
    MoveWindow(title, gap, 8, text_w, 26, TRUE);
    MoveWindow(transcript, gap, top, text_w, text_h, TRUE);
    MoveWindow(people, 2 * gap + text_w, top - 20, list_w, 18, TRUE);
    MoveWindow(members, 2 * gap + text_w, top, list_w, text_h - 36, TRUE);
    MoveWindow(notify, 2 * gap + text_w, top + text_h - 28, list_w / 2 - 2, 28, TRUE);
    MoveWindow(prefs, 2 * gap + text_w + list_w / 2 + 2, top + text_h - 28, list_w / 2 - 2, 28, TRUE);
    MoveWindow(entry, gap, top + text_h + gap, text_w, entry_h, TRUE);
    MoveWindow(send, 2 * gap + text_w, top + text_h + gap - 1, 70, entry_h + 2, TRUE);
  }

  std::deque<long> lengths_;  // character positions of each line, break not counted
  long total_ = 0;            // character positions in the transcript
};

namespace {

std::vector<Room*> g_rooms;

}  // namespace

void Room::OnDestroyed() {
  Log("room_closed", {{"room", Utf8(name)}});
  g_rooms.erase(std::remove(g_rooms.begin(), g_rooms.end(), this), g_rooms.end());
  delete this;
}

Room* OpenRoom(const std::wstring& name, bool front) {
  auto room = std::make_unique<Room>(name);
  const int n = static_cast<int>(g_rooms.size());
  if (!CreateMdiChild(room.get(), name, 8 + 24 * n, 8 + 24 * n, 644, 440, front)) return nullptr;
  room->Build();
  g_rooms.push_back(room.get());
  Log("room_opened", {{"room", Utf8(name)}, {"position", front ? "front" : "back"}});
  return room.release();
}

void CloseRoom(Room* room) {
  if (room) SendMessageW(g_mdi, WM_MDIDESTROY, reinterpret_cast<WPARAM>(room->window), 0);
}

Room* FirstRoom() {
  for (HWND w = GetWindow(g_mdi, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    for (Room* room : g_rooms) {
      if (room->window == w) return room;
    }
  }
  return nullptr;
}

Room* FindRoom(const std::wstring& name) {
  for (Room* room : g_rooms) {
    if (room->name == name) return room;
  }
  return nullptr;
}

const std::wstring& RoomName(const Room* room) { return room->name; }

void PostLines(Room* room, const std::vector<ChatPost>& lines) {
  std::vector<Paragraph> paragraphs;
  paragraphs.reserve(lines.size());
  const std::string room_name = Utf8(room->name);
  for (const ChatPost& line : lines) {
    const std::string speaker = Utf8(line.speaker);
    const std::string text = Utf8(line.text);
    paragraphs.push_back(MakeParagraph(speaker, text));
    Log("chat", {{"room", room_name},
                 {"speaker", speaker},
                 {"text", text},
                 {"shown", Utf8(paragraphs.back().shown)}});
  }
  room->Append(paragraphs);
}

void ClearTranscript(Room* room) { room->Clear(); }

bool ChangeLine(Room* room, std::size_t from_end, const std::string& text) { return room->ChangeLine(from_end, text); }

bool DropChildren(Room* room, const std::wstring& cls, UINT ms) { return room->DropChildren(cls, ms); }

void TypeIntoEntry(Room* room, const std::wstring& text) {
  for (wchar_t c : text) SendMessageW(room->entry, WM_CHAR, c, 0);
}

void LogEntry(Room* room) {
  DWORD from = 0, to = 0;
  SendMessageW(room->entry, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  Log("entry", {{"room", Utf8(room->name)},
                {"text", Utf8(InputBoxText(room->entry))},
                {"length", LogValue::Number(static_cast<double>(RichText(room->entry).size()))},
                {"sel_from", LogValue::Number(from)},
                {"sel_to", LogValue::Number(to)}});
}

void RenameMember(const std::wstring& old_name, const std::wstring& new_name) {
  for (Room* room : g_rooms) room->Rename(old_name, new_name);
}

}  // namespace aolsim
