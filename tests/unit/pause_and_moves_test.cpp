// Pauses on the virtual clock, and the main window's own moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/pause.h"
#include "fakes/fake_desktop.h"
#include "fakes/virtual_clock.h"
#include "ui/window_moves.h"

namespace zantic {
namespace {

using fakes::FakeOwnWindow;
using fakes::VirtualClock;

// A pause from t = 10 with events scheduled at given times, some of them commands that
// pause themselves: when the pause returns, and what ran in it.
struct PauseCase {
  const char* name;
  double seconds;
  std::vector<std::pair<double, double>> events;  // at, and the nested pause it makes (0: none)
  double returns_at;
  std::vector<double> ran;  // when each event that ran inside the pause began
};

class Pauses : public testing::TestWithParam<PauseCase> {};

TEST_P(Pauses, LastTheirLengthAndRunWhatComesInThem) {
  const PauseCase& c = GetParam();
  VirtualClock clock(10);
  std::vector<double> ran;
  for (auto [at, nested] : c.events) {
    clock.At(at, [&clock, &ran, nested = nested] {
      ran.push_back(clock.Now());
      Pause(clock, nested);
    });
  }
  Pause(clock, c.seconds);
  EXPECT_DOUBLE_EQ(clock.Now(), c.returns_at);
  EXPECT_EQ(ran, c.ran);
  if (c.events.empty() && c.seconds > 0) { EXPECT_LE(clock.pumps, 2) << "it sleeps between passes"; }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Pauses,
    testing::Values(
        // Zero and negative pauses return at once, without pumping: the event waiting stays.
        PauseCase{"Zero", 0, {{10, 0}}, 10, {}}, PauseCase{"Negative", -0.001, {{10, 0}}, 10, {}},
        PauseCase{"Quiet", 1.3, {}, 11.3, {}},
        PauseCase{"EventsInsideRunEventsAfterWait", 0.4, {{10.1, 0}, {10.35, 0}, {10.5, 0}}, 10.4, {10.1, 10.35}},
        // A command nested in the pause that pauses longer than it: the outer pause returns
        // as soon as the nested one ends; a short nested one does not shorten it.
        PauseCase{"NestedLonger", 0.4, {{10.2, 1.0}}, 11.2, {10.2}},
        PauseCase{"NestedShorter", 1.0, {{10.2, 0.1}}, 11.0, {10.2}}),
    [](const auto& info) { return std::string(info.param.name); });

// The slide: from where the window begins, how many steps, and where it ends.
TEST(SlideOut, StepsDownByThreeHundredTwipsPastTheLimit) {
  const double cases[][3] = {{0, 25, 7500}, {7000.5, 1, 7300}, {7200, 1, 7500}, {8000, 1, 8300}, {6899.9, 2, 7499}, {6901, 1, 7201}};
  for (auto [from, steps, to] : cases) {
    FakeOwnWindow d;
    VirtualClock clock;
    const Hwnd form = 0xF0;
    d.tops[form] = from;
    int handled = 0;
    clock.At(0, [&] { ++handled; });  // a click waiting when the slide begins
    SlideOutWindow(d, clock, form);
    EXPECT_EQ(clock.pumps, steps) << from;
    EXPECT_DOUBLE_EQ(d.tops[form], to) << from;
    EXPECT_EQ(handled, 1) << from;
  }
}

// A window that cannot go so low (a window manager keeps it on the screen, or the move
// fails): the slide ends after the steps it needed from where it began, and one for rounding.
TEST(SlideOut, EndsAllTheSameWhenTheWindowCannotGoSoLow) {
  struct StuckWindow : FakeOwnWindow {
    double lowest = 0;
    void SetWindowTop(Hwnd w, double twips) override { FakeOwnWindow::SetWindowTop(w, std::min(twips, lowest)); }
  };
  for (double lowest : {0.0, 7000.0}) {
    StuckWindow d;
    d.lowest = lowest;
    VirtualClock clock;
    SlideOutWindow(d, clock, 0xF0);
    EXPECT_EQ(clock.pumps, 26) << lowest;
  }
  // Begun below the limit, one step, wherever the window lands.
  StuckWindow d;
  d.lowest = 7000;
  d.tops[0xF0] = 8000;
  VirtualClock clock;
  SlideOutWindow(d, clock, 0xF0);
  EXPECT_EQ(clock.pumps, 1);
}

TEST(WindowMoves, KeepOnTopAndTheDragOfEachButton) {
  FakeOwnWindow d;
  const Hwnd form = 0xF0;
  KeepOnTop(d, form);
  EXPECT_EQ(d.window_pos_calls, (std::vector<FakeOwnWindow::WindowPosCall>{{form, kHwndTopmost, 0, 0, 0, 0, 3}}));
  BeginWindowDrag(d, form, MouseButton::Left);
  EXPECT_EQ(d.release_capture_calls, 1);
  EXPECT_EQ(d.sent, std::vector<fakes::Message>{fakes::Sent(form, wm::kSysCommand, 0xFFFFFFFFFFFFF012u, 0)});
  BeginWindowDrag(d, form, MouseButton::Right);
  BeginWindowDrag(d, form, MouseButton::Middle);
  EXPECT_EQ(d.mouse_moves, (std::vector<std::pair<Hwnd, MouseButton>>{{form, MouseButton::Right}, {form, MouseButton::Middle}}));
  EXPECT_EQ(d.release_capture_calls, 1);
}

}  // namespace
}  // namespace zantic
