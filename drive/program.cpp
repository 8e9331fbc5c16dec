#include "drive/program.h"

#include "ui/win32/tray.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "drive/sim.h"
#include "ui/win32/digest_window.h"
#include "ui/win32/form1_window.h"

namespace drive {

using namespace std::chrono;
using zantic::win32::Form1Window;

// Screen pixels, not the 96-DPI view the system gives programs that do not declare DPI
// awareness.
static const bool kDpiAware = SetProcessDPIAware();

int Dpi() {
  static const int dpi = [] {
    (void)kDpiAware;
    HDC dc = GetDC(nullptr);
    const int logical = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return logical;
  }();
  return dpi;
}

int Px(int twips) { return MulDiv(twips, Dpi(), 1440); }

RECT PxRect(int left, int top, int width, int height) {
  return RECT{Px(left), Px(top), Px(left + width), Px(top + height)};
}

const LabelPlace kLabels[14] = {
    {Control::Label1, "zantic idle by vorn", 1080, 0, 1455, 255},
    {Control::Label2, "X", 3240, 0, 255, 255},
    {Control::Label3, "?", 2880, 0, 255, 255},
    {Control::Label4, "reg. idle", 120, 120, 615, 255},
    {Control::Label5, "link idle", 120, 360, 615, 255},
    {Control::Label6, "other", 120, 600, 495, 255},
    {Control::Label7, "Start", 3000, 240, 495, 255},
    {Control::Label8, "Stop", 3000, 600, 495, 255},
    {Control::Label9, "IMs on", 840, 360, 495, 255},
    {Control::Label10, "IMs off", 1440, 360, 495, 255},
    {Control::Label11, "adv", 2040, 360, 375, 255},
    {Control::Label12, "greetz", 2400, 360, 495, 255},
    {Control::Label13, "handle", 1680, 600, 615, 255},
    {Control::Label14, "set", 3000, 360, 255, 255},
};

const LabelPlace& PlaceOf(Control label) {
  for (const auto& l : kLabels) {
    if (l.control == label) return l;
  }
  throw std::logic_error("not a label");
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}

Program::Options Program::AsOnWindowsXp(Options options) {
  options.exe = L"zantic-idle-legacy.exe";
  options.tray_version = 3;
  return options;
}

Program::Program(Options options) : dir_(options.dir), tray_version_(options.tray_version) {
  if (dir_.empty()) {
    own_dir_ = std::make_unique<TempDir>(L"zantic");
    dir_ = own_dir_->path;
  }
  exe_ = dir_ + L"\\" + options.exe;
  if (!CopyFileW((BuildDir() + L"\\" + options.exe).c_str(), exe_.c_str(), FALSE)) return;
  if (!options.settings.empty()) WriteFileBytes(SettingsPath(), options.settings);
  process_ = StartProgram(exe_, L"", dir_);
  if (process_ && options.wait_shown) WaitShown();
}

Program::~Program() {
  if (!process_) return;
  TerminateProcess(process_, 0);
  WaitForSingleObject(process_, 5000);
  CloseHandle(process_);
}

bool Program::FindWindowOfProcess(bool shown) {
  const DWORD pid = GetProcessId(process_);
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, Form1Window::kClassName, L"Form1"));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && (!shown || IsWindowVisible(w))) window_ = w;
  }
  return window_ != nullptr && (!shown || IsWindowVisible(window_));
}

bool Program::WaitMade(milliseconds timeout) {
  return process_ && WaitUntil([&] { return FindWindowOfProcess(false); }, timeout);
}

bool Program::WaitShown(milliseconds timeout) {
  if (!process_ || !WaitUntil([&] { return FindWindowOfProcess(true); }, timeout)) return false;
  // The first paint ends with the line.
  return WaitUntil([&] { return IsGreen(Grab(Rect()).At(Px(kLineX), 0)); }, seconds(5));
}

bool Program::Ended(milliseconds timeout) const {
  return process_ && WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

HWND Program::Child(Control c) const { return GetDlgItem(window_, Form1Window::ControlId(c)); }
bool Program::Shown(Control c) const { return GetWindowLongW(Child(c), GWL_STYLE) & WS_VISIBLE; }
bool Program::Enabled(Control c) const { return IsWindowEnabled(Child(c)) != FALSE; }

RECT Program::Rect() const {
  RECT r{};
  GetWindowRect(window_, &r);
  return r;
}

POINT Program::At(int x_twips, int y_twips) const {
  const RECT r = Rect();
  return POINT{r.left + Px(x_twips), r.top + Px(y_twips)};
}

POINT Program::CentreOf(Control c) const {
  RECT r{};
  GetWindowRect(Child(c), &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Program::Click(Control c) const { drive::Click(CentreOf(c)); }

milliseconds Program::ClickForBox(Control label) const {
  const auto asked = steady_clock::now();
  Click(label);
  HWND box = WaitForBox(seconds(10));
  const auto took = duration_cast<milliseconds>(steady_clock::now() - asked);
  return box && AnswerBox(box) ? took : std::max(took, milliseconds(10000));
}

std::string Program::Text(Control c) const {
  const int n = static_cast<int>(SendMessageW(Child(c), WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  SendMessageW(Child(c), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return Narrow(text);
}

void Program::Type(Control box, const std::string& utf8) const {
  Click(box);
  // The click has put the focus there before the selection is made.
  WaitUntil([&] { return Focus() == Child(box); });
  SendMessageW(Child(box), EM_SETSEL, 0, -1);
  if (utf8.empty()) {
    Key(VK_DELETE);
  } else {
    TypeText(utf8);
  }
}

void Program::SetText(Control box, const std::string& utf8) const {
  const std::wstring text = Widen(utf8);
  SendMessageW(Child(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Program::StartRegularRun(const std::string& reason) const {
  Click(Control::Label4);
  Type(Control::Text1, reason);
  Click(Control::Label7);
}

std::string Program::SetHandle(const std::string& handle) const {
  Click(Control::Label6);
  Click(Control::Label13);
  // "set" shows last, once the box holds the handle.
  WaitUntil([&] { return Shown(Control::Label14); });
  const std::string before = Text(Control::Text1);
  SetText(Control::Text1, handle);
  Click(Control::Label14);
  return before;
}

std::optional<DWORD> Program::Exit() const {
  Click(Control::Label2);
  DWORD code = 0;
  if (!Ended() || !GetExitCodeProcess(process_, &code)) return std::nullopt;
  return code;
}

HWND Program::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
  return info.hwndFocus;
}

TopWatcher::TopWatcher(HWND window) : window_(window) {
  thread_ = std::thread([this] {
    for (RECT r{}; !stop_ && GetWindowRect(window_, &r);) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (tops_.empty() || tops_.back() != r.top) tops_.push_back(r.top);
      }
      // Gives way to the moving program without sleeping a whole time slice.
      SwitchToThread();
    }
    gone_ = true;
  });
}

TopWatcher::~TopWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<int> TopWatcher::Tops(milliseconds timeout) {
  WaitUntil([&] { return gone_.load(); }, timeout);
  std::lock_guard<std::mutex> lock(mutex_);
  return tops_;
}

HWND WaitForBox(milliseconds timeout, const wchar_t* title) {
  HWND box = nullptr;
  // Found only once it is shown: a box being built may still hold buttons it is about to
  // replace.
  WaitUntil([&] { return (box = FindWindowW(L"#32770", title)) && IsWindowVisible(box); }, timeout);
  return box && IsWindowVisible(box) ? box : nullptr;
}

std::string BoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  wchar_t buffer[4096] = {};
  SendMessageW(text, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer));
  return Narrow(buffer);
}

bool AnswerBox(HWND box) {
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return WaitUntil([&] { return !IsWindow(box); }, seconds(5));
}

std::optional<Digest> WaitForDigest(milliseconds timeout) {
  using zantic::win32::DigestWindow;
  Digest digest;
  if (!WaitUntil([&] {
        digest.window = FindWindowW(DigestWindow::kClassName, DigestWindow::kCaption);
        return digest.window && IsWindowVisible(digest.window);
      }, timeout)) {
    return std::nullopt;
  }
  digest.heading = WindowText(FindWindowExW(digest.window, nullptr, L"Static", nullptr));
  digest.lines = WindowText(FindWindowExW(digest.window, nullptr, L"Edit", nullptr));
  return digest;
}

void SaveArtifact(const Shot& shot, const std::wstring& name) {
  const std::wstring dir = BuildDir() + L"\\artifacts";
  CreateDirectoryW(dir.c_str(), nullptr);
  SavePng(shot, dir + L"\\" + name + L".png");
}

std::string AnswerNextBox() {
  HWND box = WaitForBox();
  if (!box) return "(no box)";
  const std::string text = BoxText(box);
  return AnswerBox(box) ? text : "(not answered)";
}

}  // namespace drive

namespace drive {

void Program::TrayEvent(UINT event, POINT at) const {
  if (tray_version_ >= 4) {
    PostMessageW(window_, zantic::win32::Win32Tray::kTrayMessage, MAKEWPARAM(at.x, at.y), MAKELPARAM(event, 1));
    return;
  }
  SetCursorPos(at.x, at.y);
  PostMessageW(window_, zantic::win32::Win32Tray::kTrayMessage, 1, event);
}

bool Program::OpenTrayMenu(POINT at) const {
  auto menu_open = [] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu != nullptr && IsWindowVisible(menu);
  };
  for (int tries = 0; tries < 3 && !menu_open(); ++tries) {
    TrayEvent(WM_CONTEXTMENU, at);
    WaitUntil(menu_open, seconds(3));
  }
  return menu_open();
}

int LabelPixels(const Shot& shot, Control label) {
  const LabelPlace& place = PlaceOf(label);
  const RECT r = PxRect(place.left, place.top, place.width, place.height);
  const int line_width = std::max(1, MulDiv(1, Dpi(), 96));
  int count = 0;
  for (int y = r.top; y < std::min<int>(r.bottom, shot.height); ++y) {
    for (int x = r.left; x < std::min<int>(r.right, shot.width); ++x) {
      if (x >= Px(kLineX) && x < Px(kLineX) + line_width) continue;
      bool shared = false;
      for (const auto& other : kLabels) {
        const RECT o = PxRect(other.left, other.top, other.width, other.height);
        shared = shared || (other.control != label && PtInRect(&o, POINT{x, y}));
      }
      if (!shared && IsGreen(shot.At(x, y))) ++count;
    }
  }
  return count;
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return Narrow(text);
}

AnswerWatch::AnswerWatch(HWND window)
    : thread_([this, window] {
        while (!stop_) {
          const auto asked = steady_clock::now();
          DWORD_PTR result = 0;
          SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result);
          longest_ = std::max<long long>(longest_, duration_cast<milliseconds>(steady_clock::now() - asked).count());
          Sleep(20);
        }
      }) {}

AnswerWatch::~AnswerWatch() { Stop(); }

long long AnswerWatch::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return longest_;
}

}  // namespace drive
