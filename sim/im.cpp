// Keywords, the Send Instant Message window and the "America Online" message box.
//
// A keyword "aol://9293:<recipient>" opens a "Send Instant Message" window for the
// recipient after a short delay. Its ninth "_AOL_Icon" is Send. Sent to "$IM_OFF" or
// "$IM_ON", the message switches the user's instant messages off or on: the window says so
// and stays open, and an "America Online" message box tells the user. Sent to anyone
// else, it goes out and the window closes.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>

#include "sim/sim.h"
#include "sim/sim_log.h"

namespace aolsim {
namespace {

constexpr std::wstring_view kImKeyword = L"aol://9293:";
constexpr int kIconBase = 300;  // icon i (counting from 1) has the id kIconBase + i
constexpr int kSendIcon = 9;
constexpr int kCancelIcon = 11;
constexpr UINT kCloseAfterSend = WM_APP + 20;

std::map<UINT_PTR, std::wstring> g_pending;  // timer id -> recipient
UINT_PTR g_next_timer = 5000;
std::atomic<int> g_box_count{0};

std::wstring TrimBlanks(const std::wstring& s) {
  const auto first = s.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return s.substr(first, s.find_last_not_of(L" \t") - first + 1);
}

std::wstring Lower(std::wstring s) {
  CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

// Screen names compare without regard to case or blanks, as the client compares them.
std::wstring Normalized(const std::wstring& name) {
  std::wstring out = Lower(name);
  out.erase(std::remove(out.begin(), out.end(), L' '), out.end());
  return out;
}

class ImWindow : public MdiWindow {
 public:
  explicit ImWindow(std::wstring to) : recipient(std::move(to)) {}

  void Build(int icon_count) {
    const DWORD child = WS_CHILD | WS_VISIBLE;
    to_label = MakeChild(window, L"_AOL_Static", L"To:", child, 0, 0, 10, 10);
    to_box = MakeChild(window, L"_AOL_Edit", recipient.c_str(), child | ES_AUTOHSCROLL, 0, 0, 10, 10, 0,
                       WS_EX_CLIENTEDGE);
    status = MakeChild(window, L"_AOL_Static", L"", child, 0, 0, 10, 10);
    SendMessageW(status, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont()), FALSE);
    // Child order: the formatting icons, the message box (the window's only "RICHCNTL"),
    // then Send and the rest, so Send is the ninth "_AOL_Icon".
    static constexpr const wchar_t* kLabels[] = {L"A",    L"A",          L"A+",     L"A",
                                                 L"A-",   L"B",          L"I",      L"U",
                                                 L"Send", L"Available?", L"Cancel", L"Profile"};
    for (int i = 1; i <= icon_count; ++i) {
      if (i == kSendIcon) {
        message = MakeChild(window, L"RICHCNTL", L"", child | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0,
                            0, 10, 10, 0, WS_EX_CLIENTEDGE);
        MakeInputBox(message, true, [this](HWND, std::wstring) { Send(); });
      }
      const wchar_t* label = i <= 12 ? kLabels[i - 1] : L"More";
      icons.push_back(MakeIcon(window, label, kIconBase + i, 0, 0, 10, 10));
    }
    if (!message) {
      message = MakeChild(window, L"RICHCNTL", L"", child | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0,
                          10, 10, 0, WS_EX_CLIENTEDGE);
      MakeInputBox(message, true, [this](HWND, std::wstring) { Send(); });
    }
    RECT r;
    GetClientRect(window, &r);
    Layout(r.right, r.bottom);
  }

  bool OnMessage(HWND, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    switch (msg) {
      case WM_SIZE:
        Layout(LOWORD(lparam), HIWORD(lparam));
        return false;
      case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == kIconBase + kSendIcon) {
          Send();
          return true;
        }
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == kIconBase + kCancelIcon) {
          PostMessageW(window, WM_CLOSE, 0, 0);
          return true;
        }
        return false;
      case kCloseAfterSend:
        SendMessageW(g_mdi, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
        result = 0;
        return true;
      case WM_CTLCOLORSTATIC:
        return HandleCtlColor(msg, wparam, result);
    }
    return false;
  }

  void OnDestroyed() override {
    Log("im_closed", {{"recipient", Utf8(recipient)}});
    delete this;
  }

 private:
  void Send() {
    const std::wstring text = InputBoxText(message);
    Log("im_sent", {{"recipient", Utf8(recipient)}, {"text", Utf8(text)}});
    const std::wstring to = Normalized(recipient);
    if (to == L"$im_off" || to == L"$im_on") {
      const bool on = to == L"$im_on";
      Log("im_state", {{"state", on ? "on" : "off"}});
      SetWindowTextW(status, on ? L"Instant Messages are ON" : L"Instant Messages are OFF");
      ClearInputBox(message);
      ShowAolMessageBox(on ? L"You are now accepting Instant Messages."
                           : L"You are now ignoring Instant Messages.",
                        on ? "im_on" : "im_off");
      return;
    }
    // The window goes once the click that sent the message has been handled.
    PostMessageW(window, kCloseAfterSend, 0, 0);
  }

  void Layout(int w, int h) {
    const int gap = 8;
    MoveWindow(to_label, gap, 12, 26, 20, TRUE);
    MoveWindow(to_box, gap + 30, 9, 180, 24, TRUE);
    MoveWindow(status, gap + 220, 12, std::max(10, w - gap * 2 - 220), 20, TRUE);
    for (std::size_t i = 0; i < icons.size(); ++i) {
      if (i < kSendIcon - 1) {
        MoveWindow(icons[i], gap + static_cast<int>(i) * 36, 42, 32, 24, TRUE);
      } else {
        const int k = static_cast<int>(i) - (kSendIcon - 1);
        MoveWindow(icons[i], gap + k * 96, h - 40, 90, 30, TRUE);
      }
    }
    MoveWindow(message, gap, 74, std::max(10, w - 2 * gap), std::max(10, h - 74 - 50), TRUE);
  }

  std::wstring recipient;
  HWND to_label = nullptr, to_box = nullptr, status = nullptr, message = nullptr;
  std::vector<HWND> icons;
};

// --- The message box, on a thread of its own ----------------------------------------------

struct BoxRequest {
  int id = 0;
  std::wstring text;
  std::string reason;
  bool shown = false;
};

thread_local BoxRequest* t_box = nullptr;

constexpr wchar_t kBoxCaption[] = L"America Online";
constexpr wchar_t kBoxCaptionWhileBuilt[] = L"America Online (opening)";

// The platform's message box can be found by its caption while it is still being set up
// (under Wine it takes away its unused buttons after it has set its caption): it opens
// under another caption and takes "America Online" once its dialog is complete. Only then
// is it logged as shown: its caption and its one button are there for anyone who looks.
LRESULT CALLBACK BoxHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && t_box && !t_box->shown) {
    const auto* ret = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
    if (ret->message == WM_INITDIALOG) {
      t_box->shown = true;
      SetWindowTextW(ret->hwnd, kBoxCaption);
      Log("msgbox_shown", {{"id", LogValue::Number(t_box->id)},
                           {"text", Utf8(t_box->text)},
                           {"reason", t_box->reason}});
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

DWORD WINAPI BoxThread(void* param) {
  std::unique_ptr<BoxRequest> request(static_cast<BoxRequest*>(param));
  t_box = request.get();
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, BoxHook, nullptr, GetCurrentThreadId());
  const int answer =
      MessageBoxW(nullptr, request->text.c_str(), hook ? kBoxCaptionWhileBuilt : kBoxCaption, MB_OK | MB_ICONINFORMATION);
  if (hook) UnhookWindowsHookEx(hook);
  t_box = nullptr;
  const char* button = answer == IDOK ? "ok" : answer == IDCANCEL ? "cancel" : "other";
  Log("msgbox_answered", {{"id", LogValue::Number(request->id)}, {"button", button}});
  return 0;
}

}  // namespace

void RunKeyword(const std::wstring& box_text) {
  // The box holds what was typed, blanks included (a blank typed after a WM_SETTEXT lands
  // in front of the text, where the caret was left).
  const std::wstring keyword = TrimBlanks(box_text);
  Log("keyword", {{"text", Utf8(box_text)}, {"keyword", Utf8(keyword)}});
  if (keyword.size() < kImKeyword.size() ||
      Lower(keyword.substr(0, kImKeyword.size())) != kImKeyword) {
    return;
  }
  const std::wstring recipient = keyword.substr(kImKeyword.size());
  if (g_settings.im_never) {
    Log("im_withheld", {{"recipient", Utf8(recipient)}});
    return;
  }
  const UINT_PTR id = g_next_timer++;
  g_pending[id] = recipient;
  SetTimer(g_frame, id, static_cast<UINT>(std::max(0.0, g_settings.im_delay_s) * 1000), nullptr);
}

bool HandleImTimer(UINT_PTR id) {
  auto it = g_pending.find(id);
  if (it == g_pending.end()) return false;
  KillTimer(g_frame, id);
  const std::wstring recipient = it->second;
  g_pending.erase(it);
  OpenImWindow(recipient);
  return true;
}

void OpenImWindow(const std::wstring& recipient) {
  auto im = std::make_unique<ImWindow>(recipient);
  if (!CreateMdiChild(im.get(), L"Send Instant Message", 160, 90, 470, 330)) return;
  im->Build(std::max(0, g_settings.im_icons));
  Log("im_opened", {{"recipient", Utf8(recipient)}, {"icons", LogValue::Number(g_settings.im_icons)}});
  im.release();  // the window owns it now
}

void ShowAolMessageBox(const std::wstring& text, std::string_view reason) {
  auto request = std::make_unique<BoxRequest>();
  request->id = ++g_box_count;
  request->text = text;
  request->reason = std::string(reason);
  HANDLE thread = CreateThread(nullptr, 0, BoxThread, request.get(), 0, nullptr);
  if (!thread) {
    Log("msgbox_failed", {{"reason", std::string(reason)}});
    return;
  }
  request.release();
  CloseHandle(thread);
}

}  // namespace aolsim
