// The real main window of the real zantic-idle.exe, driven with real mouse and keyboard
// input and checked on the screen's pixels. Screenshots are kept under the build folder's
// artifacts/ for a person to look at.
#include <gtest/gtest.h>
#include <oleacc.h>

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

#include "platform/ports.h"
#include "drive/program.h"
#include "ui/win32/form1_window.h"
#include "ui/win32/label_accessible.h"
#include "ui/win32/pictures.h"
#include "ui/win32/resource_ids.h"

namespace {

using namespace std::chrono;
using namespace drive;
using zantic::win32::Form1Window;

void SaveArtifact(const Shot& shot, const std::wstring& name) {
  const std::wstring dir = BuildDir() + L"\\artifacts";
  CreateDirectoryW(dir.c_str(), nullptr);
  SaveBmp(shot, dir + L"\\" + name + L".bmp");
}

// Pixels of a bitmap the product's own picture loader made, for comparison with the screen.
Shot PixelsOf(const zantic::win32::Picture& picture) {
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, picture.bitmap.get());
  Shot shot = Copy(memory, 0, 0, picture.size.cx, picture.size.cy);
  SelectObject(memory, old);
  DeleteDC(memory);
  return shot;
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
  // Closing requests (WM_CLOSE, Alt+F4) do not end it: the way out is "X".
  PostMessageW(w, WM_CLOSE, 0, 0);
  PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(WaitForSingleObject(program.Process(), 700), WAIT_TIMEOUT);

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

  HMODULE exe = LoadLibraryExW((drive::BuildDir() + L"\\zantic-idle.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr);
  const auto background = zantic::win32::LoadJpegResource(exe, ZANTIC_IDR_BACKGROUND, 96);
  const auto logo = zantic::win32::LoadJpegResource(exe, ZANTIC_IDR_LOGO, 96);
  FreeLibrary(exe);
  ASSERT_TRUE(background.bitmap);
  ASSERT_TRUE(logo.bitmap);
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
    SCOPED_TRACE(drive::Narrow(step.panel));
    program.Click(step.click);
    MoveMouse(POINT{0, 0});
    ASSERT_TRUE(drive::WaitUntil(
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

// A press dragged 40 by 30 pixels: on the background it moves the window, with any button,
// and the window stops following when the button is let go; on a control it moves nothing.
TEST(WindowE2E, APressOnTheSurfaceDragsTheWindowWithAnyButtonAndOnAControlNot) {
  Program program;
  ASSERT_TRUE(program.Ready());
  // The reason box shown, and "Start" disabled (a disabled control passes its presses to
  // the window, which must still not take them as presses on its surface).
  ShowWindow(program.Child(Control::Text1), SW_SHOWNA);
  EnableWindow(program.Child(Control::Label7), FALSE);
  struct Case {
    const char* what;
    int x, y;  // twips; where controls overlap, on a part that only the target covers
    Button button;
    bool moves;
  };
  const Case cases[] = {
      {"background", 2700, 120, Button::Left, true},  {"background", 2700, 120, Button::Right, true},
      {"background", 2700, 120, Button::Middle, true}, {"title", 1800, 120, Button::Right, false},
      {"logo", 1800, 300, Button::Left, false},         {"reason box", 1000, 500, Button::Middle, false},
      {"disabled Start", 3100, 300, Button::Left, false}, {"reg. idle", 400, 240, Button::Right, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + " button " + std::to_string(static_cast<int>(c.button)));
    const RECT before = program.Rect();
    const POINT at = program.At(c.x, c.y);
    Drag(at, POINT{at.x + 40, at.y + 30}, c.button);
    const POINT want{before.left + (c.moves ? 40 : 0), before.top + (c.moves ? 30 : 0)};
    EXPECT_TRUE(drive::WaitUntil([&] { return program.Rect().left == want.x && program.Rect().top == want.y; }, seconds(3)));
    MoveMouse(POINT{at.x + 90, at.y + 80});
    Sleep(200);
    EXPECT_EQ(program.Rect().left, want.x) << "released: the window no longer follows";
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
      drive::WaitUntil([&] { return program.Focus() == program.Child(Control::Text3); }, seconds(3)));

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

TEST(WindowE2E, ScreenReadersFindEveryLabelAndCanPressTheButtons) {
  Program program;
  ASSERT_TRUE(program.Ready());
  CoInitialize(nullptr);
  for (const LabelPlace& label : kLabels) {
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(program.Child(label.control), OBJID_CLIENT, zantic::win32::kIidAccessible,
                                         reinterpret_cast<void**>(&object)), S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    VARIANT role{};
    object->get_accName(self, &name);
    object->get_accRole(self, &role);
    EXPECT_EQ(drive::Narrow(name ? name : L""), label.caption);
    EXPECT_EQ(role.lVal, label.control == Control::Label1 ? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_PUSHBUTTON);
    if (label.control == Control::Label6) {
      EXPECT_EQ(object->accDoDefaultAction(self), S_OK);
    }
    SysFreeString(name);
    object->Release();
  }
  EXPECT_TRUE(drive::WaitUntil([&] { return program.Shown(Control::Label9); })) << "\"other\" pressed";
  CoUninitialize();
}

TEST(WindowE2E, ExecutableCarriesTheProjectVersionAndAManifest) {
  const std::wstring exe = drive::BuildDir() + L"\\zantic-idle.exe";
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
    EXPECT_EQ(drive::Narrow(text), ZANTIC_PROJECT_VERSION);
  }

  // The manifest that declares DPI awareness and common controls 6.
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr);
  FreeLibrary(module);
}

}  // namespace
