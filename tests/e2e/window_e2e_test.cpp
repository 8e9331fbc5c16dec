// The real main window of the real zantic-idle.exe, driven with real mouse and keyboard
// input and checked on the screen's pixels.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <tuple>
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

// Pixels of a bitmap the product's own picture loader made, for comparison with the screen.
Shot PixelsOf(const zantic::win32::Picture& picture) {
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, picture.bitmap.get());
  Shot shot = Copy(memory, 0, 0, picture.size.cx, picture.size.cy);
  SelectObject(memory, old);
  DeleteDC(memory);
  return shot;
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
  // Closing requests (WM_CLOSE, Alt+F4) do not end it: the way out is "X". Sent, so that
  // the window has handled both when the check begins.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(w, WM_CLOSE, 0, 0, SMTO_BLOCK, 5000, &result);
  SendMessageTimeoutW(w, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_BLOCK, 5000, &result);
  EXPECT_EQ(WaitForSingleObject(program.Process(), 700), WAIT_TIMEOUT);

  const RECT r = program.Rect();
  EXPECT_EQ(r.right - r.left, Px(kFormWidth));
  EXPECT_EQ(r.bottom - r.top, Px(kFormHeight));
  const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(r.left, (screen_w - (r.right - r.left)) / 2) << "centred";
  EXPECT_EQ(r.top, (screen_h - (r.bottom - r.top)) / 2) << "centred";

  MoveMouse(POINT{0, 0});
  const Shot shot = Grab(r);
  // Exactly the start set shows: the frame, "Start", "Stop" and the logo (labels by their
  // green caption pixels).
  for (const auto& label : kLabels)
    EXPECT_EQ(LabelPixels(shot, label.control) > 0, label.control <= Control::Label8) << label.caption;
  for (Control c : {Control::Text1, Control::Text2, Control::Text3, Control::Picture1})
    EXPECT_EQ(program.Shown(c), c == Control::Picture1) << static_cast<int>(c);
  SaveArtifact(shot, L"window-first-showing");

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
  // Each panel as the real window draws it, for a person to look at (docs/window.md); which
  // controls each one shows is the native panel table's.
  for (auto [label, box, name] : {std::tuple{Control::Label4, Control::Text1, L"reason"}, {Control::Label5, Control::Text3, L"link"},
                                  {Control::Label6, Control::Label13, L"other"}, {Control::Label13, Control::Label14, L"handle"}}) {
    program.Click(label);
    MoveMouse(POINT{0, 0});
    EXPECT_TRUE(drive::WaitUntil([&] { return program.Shown(box); })) << drive::Narrow(name);
    Sleep(200);
    SaveArtifact(Grab(program.Rect()), std::wstring(L"window-") + name);
  }
}

// The logo box shows the logo's top-left 81 x 25 pixels at its own size, the rest cut off.
// (The background picture at its own size: the button-face column of the first showing.)
TEST(WindowE2E, TheLogoIsDrawnAtItsOwnSizeFromTheTopLeft) {
  if (Dpi() != 96) GTEST_SKIP() << "pixel-exact pictures are checked at 96 DPI";
  Program program;
  ASSERT_TRUE(program.Ready());
  MoveMouse(POINT{0, 0});
  const Shot shot = Grab(program.Rect());
  HMODULE exe = LoadLibraryExW((drive::BuildDir() + L"\\zantic-idle.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr);
  const Shot logo = PixelsOf(zantic::win32::LoadJpegResource(exe, ZANTIC_IDR_LOGO, 96));
  FreeLibrary(exe);
  ASSERT_EQ(logo.width * 100 + logo.height, 85 * 100 + 35);
  const RECT box = PxRect(1200, 240, 1215, 375);
  ASSERT_EQ((box.right - box.left) * 100 + box.bottom - box.top, 81 * 100 + 25);
  int worst = 0;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x)
      worst = std::max(worst, ChannelDistance(shot.At(x, y), logo.At(x - box.left, y - box.top)));
  EXPECT_LE(worst, 2);
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
    MoveMouse(POINT{at.x + 90, at.y + 80});  // released: the window no longer follows
    // Then the background is dragged by 10 pixels from where the window should stand: once
    // the window has followed that, the program has handled all the input before it.
    const POINT want{before.left + (c.moves ? 40 : 0), before.top + (c.moves ? 30 : 0)};
    const POINT grip{want.x + Px(2700), want.y + Px(120)};
    Drag(grip, POINT{grip.x + 10, grip.y + 10}, Button::Left);
    EXPECT_TRUE(drive::WaitUntil([&] { return program.Rect().left == want.x + 10 && program.Rect().top == want.y + 10; }))
        << program.Rect().left - before.left << ", " << program.Rect().top - before.top;
  }
  // The right press on "reg. idle" was no click: the logo still shows.
  EXPECT_TRUE(program.Shown(Control::Picture1));
  EXPECT_EQ(WaitForSingleObject(program.Process(), 0), WAIT_TIMEOUT);
}

TEST(WindowE2E, TabMovesTheFocusAmongTheBoxesAndTheLogoInOrder) {
  Program program;
  ASSERT_TRUE(program.Ready());
  for (Control c : {Control::Text1, Control::Text2, Control::Text3}) ShowWindow(program.Child(c), SW_SHOWNA);
  // Into the URL box's lower part, which nothing covers.
  RECT url;
  GetWindowRect(program.Child(Control::Text3), &url);
  Drag(POINT{url.left + 20, url.bottom - 4}, POINT{url.left + 20, url.bottom - 4}, Button::Left);
  ASSERT_TRUE(drive::WaitUntil([&] { return program.Focus() == program.Child(Control::Text3); }));
  // Tab four times, Shift+Tab twice; then, with the description box hidden and the reason
  // box disabled, Tab twice: hidden and disabled ones are skipped.
  const std::pair<bool, Control> order[] = {{false, Control::Text1}, {false, Control::Picture1}, {false, Control::Text2},
                                            {false, Control::Text3}, {true, Control::Text2},     {true, Control::Picture1},
                                            {false, Control::Text3}, {false, Control::Picture1}};
  for (std::size_t i = 0; i < std::size(order); ++i) {
    if (i == 6) ShowWindow(program.Child(Control::Text2), SW_HIDE), EnableWindow(program.Child(Control::Text1), FALSE);
    Key(VK_TAB, order[i].first);
    EXPECT_TRUE(drive::WaitUntil([&] { return program.Focus() == program.Child(order[i].second); })) << "step " << i;
  }
}

TEST(WindowE2E, ScreenReadersFindEveryLabelAndCanPressTheButtons) {
  Program program;
  ASSERT_TRUE(program.Ready());
  CoInitialize(nullptr);
  for (const LabelPlace& label : kLabels) {
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(program.Child(label.control), OBJID_CLIENT, zantic::win32::kIidAccessible,
                                         reinterpret_cast<void**>(&object)), S_OK);
    VARIANT self{}, role{};
    self.vt = VT_I4;  // lVal 0: CHILDID_SELF
    BSTR name = nullptr;
    object->get_accName(self, &name);
    object->get_accRole(self, &role);
    EXPECT_EQ(drive::Narrow(name ? name : L""), label.caption);
    EXPECT_EQ(role.lVal, label.control == Control::Label1 ? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_PUSHBUTTON);
    if (label.control == Control::Label6) { EXPECT_EQ(object->accDoDefaultAction(self), S_OK); }
    SysFreeString(name);
    object->Release();
  }
  EXPECT_TRUE(drive::WaitUntil([&] { return program.Shown(Control::Label9); })) << "\"other\" pressed";
  CoUninitialize();
}

}  // namespace
