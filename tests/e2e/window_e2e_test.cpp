// The real main window of the real zantic-idle.exe, driven with real mouse and keyboard
// input and checked on the screen's pixels. Screenshots are kept under the build folder's
// artifacts/ for a person to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/announcement.h"
#include "platform/ports.h"
#include "sim_client.h"
#include "ui/win32/form1_window.h"
#include "ui/win32/pictures.h"
#include "ui/win32/resource_ids.h"

namespace {

using namespace std::chrono;
using zantic::Control;
using zantic::win32::Form1Window;

// Screen pixels, not the 96-DPI view the system gives programs that do not declare DPI
// awareness.
const bool kDpiAware = SetProcessDPIAware();

int Dpi() {
  static const int dpi = [] {
    HDC dc = GetDC(nullptr);
    const int logical = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return logical;
  }();
  return dpi;
}

int Px(int twips) { return MulDiv(twips, Dpi(), 1440); }

// The labels as the window shows them: caption and place in twips.
struct LabelPlace {
  Control control;
  const char* caption;
  int left, top, width, height;
};
constexpr LabelPlace kLabels[] = {
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
constexpr int kFormWidth = 3420, kFormHeight = 855, kLineX = 720, kLineBottom = 840;

RECT PxRect(int left, int top, int width, int height) {
  return RECT{Px(left), Px(top), Px(left + width), Px(top + height)};
}

const LabelPlace& PlaceOf(Control label) {
  for (const auto& l : kLabels) {
    if (l.control == label) return l;
  }
  throw std::logic_error("not a label");
}

// ---- the screen

struct Shot {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// The pixels of a rectangle of a device context.
Shot Copy(HDC source, int x, int y, int width, int height) {
  Shot shot;
  shot.width = width;
  shot.height = height;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC memory = CreateCompatibleDC(source);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  const auto* bgra = static_cast<const std::uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i) {
    shot.pixels.push_back(RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]));
  }
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  return shot;
}

Shot Grab(const RECT& r) {
  HDC screen = GetDC(nullptr);
  Shot shot = Copy(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
  ReleaseDC(nullptr, screen);
  return shot;
}

// Pixels of a bitmap the product's own picture loader made, for comparison with the screen.
Shot PixelsOf(const zantic::win32::Picture& picture) {
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, picture.bitmap);
  Shot shot = Copy(memory, 0, 0, picture.size.cx, picture.size.cy);
  SelectObject(memory, old);
  DeleteDC(memory);
  return shot;
}

void SaveArtifact(const Shot& shot, const std::wstring& name) {
  const std::wstring dir = e2e::BuildDir() + L"\\artifacts";
  CreateDirectoryW(dir.c_str(), nullptr);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  const DWORD row = static_cast<DWORD>((shot.width * 3 + 3) & ~3);
  info.biSize = sizeof info;
  info.biWidth = shot.width;
  info.biHeight = shot.height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = row * static_cast<DWORD>(shot.height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::ofstream out(std::filesystem::path(dir + L"\\" + name + L".bmp"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<char> line(row, 0);
  for (int y = shot.height - 1; y >= 0; --y) {
    for (int x = 0; x < shot.width; ++x) {
      const COLORREF c = shot.At(x, y);
      line[static_cast<std::size_t>(3 * x)] = static_cast<char>(GetBValue(c));
      line[static_cast<std::size_t>(3 * x + 1)] = static_cast<char>(GetGValue(c));
      line[static_cast<std::size_t>(3 * x + 2)] = static_cast<char>(GetRValue(c));
    }
    out.write(line.data(), static_cast<std::streamsize>(row));
  }
}

bool IsGreen(COLORREF c) { return GetGValue(c) >= 200 && GetRValue(c) < 100 && GetBValue(c) < 100; }

int ChannelDistance(COLORREF a, COLORREF b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

bool InLineColumn(int x) {
  return x >= Px(kLineX) && x < Px(kLineX) + std::max(1, MulDiv(1, Dpi(), 96));
}

// Green pixels where only this label can put them: inside its box and the window, outside
// every other label's box and off the line.
int CaptionPixels(const Shot& shot, const LabelPlace& label) {
  const RECT r = PxRect(label.left, label.top, label.width, label.height);
  int count = 0;
  for (int y = r.top; y < std::min<int>(r.bottom, shot.height); ++y) {
    for (int x = r.left; x < std::min<int>(r.right, shot.width); ++x) {
      if (InLineColumn(x)) continue;
      bool shared = false;
      for (const auto& other : kLabels) {
        const RECT o = PxRect(other.left, other.top, other.width, other.height);
        if (other.control != label.control && PtInRect(&o, POINT{x, y})) shared = true;
      }
      if (!shared && IsGreen(shot.At(x, y))) ++count;
    }
  }
  return count;
}

// ---- input, as a person gives it

enum class Button { Left, Right, Middle };

void MoveMouse(POINT to) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = (to.x * 65536 + w / 2) / w;
  in.mi.dy = (to.y * 65536 + h / 2) / h;
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  Sleep(40);
}

void Press(Button button, bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  switch (button) {
    case Button::Left:
      in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
      break;
    case Button::Right:
      in.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
      break;
    case Button::Middle:
      in.mi.dwFlags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
      break;
  }
  SendInput(1, &in, sizeof in);
  Sleep(80);
}

// Press at `from`, move in steps to `to`, release there.
void Drag(POINT from, POINT to, Button button) {
  MoveMouse(from);
  Press(button, true);
  for (int i = 1; i <= 5; ++i) {
    MoveMouse(POINT{from.x + (to.x - from.x) * i / 5, from.y + (to.y - from.y) * i / 5});
  }
  Press(button, false);
  Sleep(150);
}

void Key(WORD vk, bool shift = false) {
  std::vector<INPUT> keys;
  auto add = [&](WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(in);
  };
  if (shift) add(VK_SHIFT, false);
  add(vk, false);
  add(vk, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  Sleep(150);
}

// ---- the program

class Program {
 public:
  Program() {
    const std::wstring dir = e2e::MakeTempDir(L"zantic-window");
    const std::wstring exe = dir + L"\\zantic-idle.exe";
    if (!CopyFileW((e2e::BuildDir() + L"\\zantic-idle.exe").c_str(), exe.c_str(), FALSE)) return;
    process_ = e2e::StartProgram(exe, L"", dir);
    if (!process_) return;
    const DWORD pid = GetProcessId(process_);
    e2e::WaitUntil([&] {
      for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, Form1Window::kClassName, L"Form1"));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) window_ = w;
      }
      return window_ != nullptr;
    });
    // The first paint, which ends with the line.
    e2e::WaitUntil([&] { return IsGreen(Grab(Rect()).At(Px(kLineX), 0)); }, seconds(5));
  }
  ~Program() {
    if (!process_) return;
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Ready() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  HANDLE Process() const { return process_; }
  HWND Child(Control c) const { return GetDlgItem(window_, Form1Window::ControlId(c)); }
  bool Shown(Control c) const { return GetWindowLongW(Child(c), GWL_STYLE) & WS_VISIBLE; }
  RECT Rect() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return r;
  }
  // A point of the window, given in twips from its top-left corner, on the screen.
  POINT At(int x_twips, int y_twips) const {
    const RECT r = Rect();
    return POINT{r.left + Px(x_twips), r.top + Px(y_twips)};
  }
  POINT CentreOf(Control c) const {
    RECT r{};
    GetWindowRect(Child(c), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Click(Control c) const { Drag(CentreOf(c), CentreOf(c), Button::Left); }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
    return info.hwndFocus;
  }
  std::string Text(Control c) const {
    wchar_t text[256] = {};
    SendMessageW(Child(c), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return e2e::Narrow(text);
  }

 private:
  HANDLE process_ = nullptr;
  HWND window_ = nullptr;
};

// Checks the shown set: labels by their green caption pixels, the other switched controls
// by their visibility.
void ExpectShown(const Program& program, const Shot& shot, const std::set<Control>& shown) {
  for (const auto& label : kLabels) {
    const bool expected = shown.count(label.control) > 0;
    EXPECT_EQ(CaptionPixels(shot, label) > 0, expected)
        << "\"" << label.caption << "\" should be " << (expected ? "shown" : "hidden");
  }
  for (Control c : {Control::Text1, Control::Text2, Control::Text3, Control::Picture1}) {
    EXPECT_EQ(program.Shown(c), shown.count(c) > 0) << "control " << static_cast<int>(c);
  }
}

const std::set<Control> kFrame = {Control::Label1, Control::Label2, Control::Label3,
                                  Control::Label4, Control::Label5, Control::Label6};

std::set<Control> FramePlus(std::initializer_list<Control> more) {
  std::set<Control> all = kFrame;
  all.insert(more.begin(), more.end());
  return all;
}

TEST(WindowE2E, FirstShowingHasTheLayoutAndExactlyTheStartSet) {
  Program program;
  ASSERT_TRUE(program.Ready());
  HWND w = program.Window();

  wchar_t caption[32] = {};
  GetWindowTextW(w, caption, 32);
  EXPECT_STREQ(caption, L"Form1");
  const LONG style = GetWindowLongW(w, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER), 0) << "frameless";
  EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);

  const RECT r = program.Rect();
  EXPECT_EQ(r.right - r.left, Px(kFormWidth));
  EXPECT_EQ(r.bottom - r.top, Px(kFormHeight));
  const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(r.left, (screen_w - (r.right - r.left)) / 2) << "centred";
  EXPECT_EQ(r.top, (screen_h - (r.bottom - r.top)) / 2) << "centred";

  MoveMouse(POINT{0, 0});
  const Shot shot = Grab(r);
  SaveArtifact(shot, L"window-first-showing");
  ExpectShown(program, shot, FramePlus({Control::Label7, Control::Label8, Control::Picture1}));

  // The green line, from the top edge down to 840 twips, and no further.
  for (int y = 0; y < Px(kLineBottom); ++y)
    EXPECT_TRUE(IsGreen(shot.At(Px(kLineX), y))) << "line at y " << y;
  EXPECT_FALSE(IsGreen(shot.At(Px(kLineX), Px(kLineBottom))));

  // The background picture is one pixel narrower than the window: the last column shows
  // the button-face colour wherever no label covers it.
  const int last = shot.width - 1;
  int face_rows = 0;
  for (int y = 0; y < shot.height; ++y) {
    bool covered = false;
    for (Control c : {Control::Label2, Control::Label7, Control::Label8}) {
      const auto& l = PlaceOf(c);
      const RECT lr = PxRect(l.left, l.top, l.width, l.height);
      covered = covered || PtInRect(&lr, POINT{last, y});
    }
    if (covered) continue;
    EXPECT_EQ(shot.At(last, y), GetSysColor(COLOR_BTNFACE)) << "row " << y;
    ++face_rows;
  }
  EXPECT_GT(face_rows, 0);
}

TEST(WindowE2E, PicturesAreDrawnAtTheirOwnSizeFromTheTopLeft) {
  if (Dpi() != 96) GTEST_SKIP() << "pixel-exact pictures are checked at 96 DPI";
  Program program;
  ASSERT_TRUE(program.Ready());
  MoveMouse(POINT{0, 0});
  const Shot shot = Grab(program.Rect());

  HMODULE exe = LoadLibraryExW((e2e::BuildDir() + L"\\zantic-idle.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr);
  const auto background = zantic::win32::LoadJpegResource(exe, ZANTIC_IDR_BACKGROUND, 96);
  const auto logo = zantic::win32::LoadJpegResource(exe, ZANTIC_IDR_LOGO, 96);
  FreeLibrary(exe);
  ASSERT_NE(background.bitmap, nullptr);
  ASSERT_NE(logo.bitmap, nullptr);
  EXPECT_EQ(background.size.cx, 227);
  EXPECT_EQ(background.size.cy, 57);
  EXPECT_EQ(logo.size.cx, 85);
  EXPECT_EQ(logo.size.cy, 35);
  const Shot bg = PixelsOf(background);
  const Shot lg = PixelsOf(logo);

  // The logo box: the logo's top-left 81 x 25 pixels, the rest cut off.
  const RECT box = PxRect(1200, 240, 1215, 375);
  ASSERT_EQ(box.right - box.left, 81);
  ASSERT_EQ(box.bottom - box.top, 25);
  int worst = 0;
  for (int y = 0; y < 25; ++y) {
    for (int x = 0; x < 81; ++x)
      worst = std::max(worst, ChannelDistance(shot.At(box.left + x, box.top + y), lg.At(x, y)));
  }
  EXPECT_LE(worst, 2) << "logo";

  // The background wherever no control covers it.
  std::vector<RECT> covered{box, RECT{Px(kLineX), 0, Px(kLineX) + 1, Px(kLineBottom)}};
  for (Control c : {Control::Label1, Control::Label2, Control::Label3, Control::Label4,
                    Control::Label5, Control::Label6, Control::Label7, Control::Label8}) {
    const auto& l = PlaceOf(c);
    covered.push_back(PxRect(l.left, l.top, l.width, l.height));
  }
  worst = 0;
  int compared = 0;
  for (int y = 0; y < 57; ++y) {
    for (int x = 0; x < 227; ++x) {
      bool hidden = false;
      for (const RECT& c : covered) hidden = hidden || PtInRect(&c, POINT{x, y});
      if (hidden) continue;
      worst = std::max(worst, ChannelDistance(shot.At(x, y), bg.At(x, y)));
      ++compared;
    }
  }
  EXPECT_GT(compared, 227 * 57 / 3);
  EXPECT_LE(worst, 2) << "background";
  DeleteObject(background.bitmap);
  DeleteObject(logo.bitmap);
}

TEST(WindowE2E, PanelButtonsSwitchWhatIsShown) {
  Program program;
  ASSERT_TRUE(program.Ready());
  struct Step {
    const wchar_t* panel;
    Control click;
    std::set<Control> shown;
  };
  const Step steps[] = {
      {L"reason", Control::Label4, FramePlus({Control::Text1, Control::Label7, Control::Label8})},
      {L"link", Control::Label5,
       FramePlus({Control::Text2, Control::Text3, Control::Label7, Control::Label8})},
      {L"other", Control::Label6,
       FramePlus({Control::Label9, Control::Label10, Control::Label11, Control::Label12,
                  Control::Label13, Control::Label7, Control::Label8})},
      {L"handle", Control::Label13, FramePlus({Control::Text1, Control::Label14})},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(e2e::Narrow(step.panel));
    program.Click(step.click);
    MoveMouse(POINT{0, 0});
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
          return program.Shown(Control::Text1) == (step.shown.count(Control::Text1) > 0) &&
                 program.Shown(Control::Text3) == (step.shown.count(Control::Text3) > 0) &&
                 program.Shown(Control::Label13) == (step.shown.count(Control::Label13) > 0);
        },
        seconds(5)));
    Sleep(200);
    const Shot shot = Grab(program.Rect());
    SaveArtifact(shot, std::wstring(L"window-") + step.panel);
    ExpectShown(program, shot, step.shown);
  }
  EXPECT_EQ(program.Text(Control::Text1), "") << "no handle stored";
}

TEST(WindowE2E, APressOnTheSurfaceDragsTheWindowWithAnyButton) {
  Program program;
  ASSERT_TRUE(program.Ready());
  for (Button button : {Button::Left, Button::Right, Button::Middle}) {
    SCOPED_TRACE(static_cast<int>(button));
    const RECT before = program.Rect();
    // Between the title and "?": the background.
    const POINT from = program.At(2700, 120);
    Drag(from, POINT{from.x + 40, from.y + 30}, button);
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return program.Rect().left == before.left + 40; }, seconds(3)));
    EXPECT_EQ(program.Rect().top, before.top + 30);
    // Released: the window no longer follows the mouse.
    MoveMouse(POINT{from.x + 90, from.y + 80});
    Sleep(200);
    EXPECT_EQ(program.Rect().left, before.left + 40);
    EXPECT_EQ(program.Rect().top, before.top + 30);
  }
}

TEST(WindowE2E, PressesOnControlsDoNotMoveTheWindow) {
  Program program;
  ASSERT_TRUE(program.Ready());
  // The reason box shown, and "Start" disabled (a disabled control passes its presses to
  // the window, which must still not take them as presses on its surface).
  ShowWindow(program.Child(Control::Text1), SW_SHOWNA);
  EnableWindow(program.Child(Control::Label7), FALSE);
  // Points in twips: where the controls overlap, on a part that only the target covers.
  struct Case {
    const char* what;
    int x, y;
    Button button;
  };
  const Case cases[] = {
      {"title", 1800, 120, Button::Left},        {"title", 1800, 120, Button::Right},
      {"title", 1800, 120, Button::Middle},      {"logo", 1800, 300, Button::Left},
      {"logo", 1800, 300, Button::Right},        {"reason box", 1000, 500, Button::Left},
      {"reason box", 1000, 500, Button::Middle}, {"disabled Start", 3100, 300, Button::Left},
      {"reg. idle", 400, 240, Button::Right},
  };
  const RECT before = program.Rect();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + " button " + std::to_string(static_cast<int>(c.button)));
    const POINT at = program.At(c.x, c.y);
    Drag(at, POINT{at.x + 40, at.y + 30}, c.button);
    const RECT after = program.Rect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
  }
  // The right press on "reg. idle" was no click: the logo still shows.
  EXPECT_TRUE(program.Shown(Control::Picture1));
  EXPECT_EQ(WaitForSingleObject(program.Process(), 0), WAIT_TIMEOUT);
}

TEST(WindowE2E, TabMovesTheFocusAmongTheBoxesAndTheLogoInOrder) {
  Program program;
  ASSERT_TRUE(program.Ready());
  for (Control c : {Control::Text1, Control::Text2, Control::Text3})
    ShowWindow(program.Child(c), SW_SHOWNA);
  Sleep(100);
  // Into the URL box's lower part, which nothing covers.
  RECT url;
  GetWindowRect(program.Child(Control::Text3), &url);
  Drag(POINT{url.left + 20, url.bottom - 4}, POINT{url.left + 20, url.bottom - 4}, Button::Left);
  ASSERT_TRUE(
      e2e::WaitUntil([&] { return program.Focus() == program.Child(Control::Text3); }, seconds(3)));

  struct Step {
    bool shift;
    Control expect;
  };
  const Step order[] = {{false, Control::Text1}, {false, Control::Picture1},
                        {false, Control::Text2}, {false, Control::Text3},
                        {true, Control::Text2},  {true, Control::Picture1}};
  for (const Step& s : order) {
    Key(VK_TAB, s.shift);
    EXPECT_EQ(program.Focus(), program.Child(s.expect)) << static_cast<int>(s.expect);
  }
  // Hidden and disabled ones are skipped.
  ShowWindow(program.Child(Control::Text2), SW_HIDE);
  EnableWindow(program.Child(Control::Text1), FALSE);
  Key(VK_TAB);
  EXPECT_EQ(program.Focus(), program.Child(Control::Text3));
  Key(VK_TAB);
  EXPECT_EQ(program.Focus(), program.Child(Control::Picture1));
}

TEST(WindowE2E, ClosingRequestsDoNotEndTheProgram) {
  Program program;
  ASSERT_TRUE(program.Ready());
  PostMessageW(program.Window(), WM_CLOSE, 0, 0);
  PostMessageW(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
  EXPECT_EQ(WaitForSingleObject(program.Process(), 700), WAIT_TIMEOUT);
  EXPECT_TRUE(IsWindowVisible(program.Window()));
}

TEST(WindowE2E, ChatCommandsReachTheWindowThroughTheScanner) {
  e2e::Sim sim;
  ASSERT_TRUE(sim.Ready());
  Program program;
  ASSERT_TRUE(program.Ready());
  ASSERT_TRUE(sim.WaitForEvent([](const e2e::Event& e) { return e.event() == "chat"; }));
  ASSERT_TRUE(sim.Control("say Pat Doe\thide"));
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(program.Window()); }, seconds(5)));
  ASSERT_TRUE(sim.Control("say Pat Doe\tshow"));
  EXPECT_TRUE(
      e2e::WaitUntil([&] { return IsWindowVisible(program.Window()) != FALSE; }, seconds(5)));
  EXPECT_TRUE(
      sim.WaitForEvent([](const e2e::Event& e) { return e["text"] == zantic::ShownLine(); }));
}

TEST(WindowE2E, ExecutableCarriesTheProjectVersionAndAManifest) {
  const std::wstring exe = e2e::BuildDir() + L"\\zantic-idle.exe";
  DWORD ignored = 0;
  std::vector<char> version(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(
      GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
  for (const wchar_t* key : {L"\\StringFileInfo\\040904B0\\ProductVersion",
                             L"\\StringFileInfo\\040904B0\\FileVersion"}) {
    wchar_t* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), key, reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(e2e::Narrow(text), ZANTIC_PROJECT_VERSION);
  }

  // The manifest that declares DPI awareness and common controls 6.
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr);
  FreeLibrary(module);
}

}  // namespace
