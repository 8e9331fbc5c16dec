#include "core/pause.h"
#include "ui/window_moves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fakes/fake_desktop.h"
#include "fakes/virtual_clock.h"

namespace zantic {
namespace {

using fakes::FakeDesktop;
using fakes::VirtualClock;

TEST(Pause, ZeroAndNegativeReturnAtOnceWithoutPumping) {
  for (double seconds : {0.0, -1.0, -0.001}) {
    VirtualClock clock(10);
    bool ran = false;
    clock.At(10, [&] { ran = true; });
    Pause(clock, seconds);
    EXPECT_EQ(clock.pumps, 0) << seconds;
    EXPECT_FALSE(ran) << seconds;
    EXPECT_EQ(clock.Now(), 10) << seconds;
  }
}

TEST(Pause, LastsItsLengthAndSleepsBetweenPasses) {
  for (double seconds : {0.4, 0.7, 1.0, 1.3}) {
    VirtualClock clock(100);
    Pause(clock, seconds);
    EXPECT_DOUBLE_EQ(clock.Now(), 100 + seconds);
    EXPECT_LE(clock.pumps, 2) << "a pause with no events pumps once, sleeps, and ends";
  }
}

TEST(Pause, EventsDuringThePauseRunBeforeItReturns) {
  VirtualClock clock;
  std::vector<double> handled;
  clock.At(0.1, [&] { handled.push_back(clock.Now()); });
  clock.At(0.35, [&] { handled.push_back(clock.Now()); });
  clock.At(0.5, [&] { handled.push_back(clock.Now()); });
  Pause(clock, 0.4);
  EXPECT_EQ(handled, (std::vector<double>{0.1, 0.35}));
  EXPECT_DOUBLE_EQ(clock.Now(), 0.4);
}

TEST(Pause, NestedCommandLongerThanThePauseEndsItOnReturn) {
  VirtualClock clock;
  std::vector<std::string> order;
  clock.At(0.2, [&] {
    order.push_back("nested begins");
    Pause(clock, 1.0);  // a command that itself pauses longer than the outer pause
    order.push_back("nested ends");
  });
  clock.At(1.5, [&] { Pause(clock, 0.2); });  // a short one does not shorten the pause
  Pause(clock, 0.4);
  order.push_back("outer returns");
  EXPECT_EQ(order, (std::vector<std::string>{"nested begins", "nested ends", "outer returns"}));
  EXPECT_DOUBLE_EQ(clock.Now(), 1.2) << "the outer pause returns as soon as the nested one ends";
}

struct SlideCase {
  double from;
  int steps;
  double to;
};

class SlideOut : public testing::TestWithParam<SlideCase> {};

TEST_P(SlideOut, StepsDownByThreeHundredTwipsPastTheLimit) {
  FakeDesktop d;
  VirtualClock clock;
  const Hwnd form = d.AddTopLevel("Form", "Form1");
  d.tops[form] = GetParam().from;
  int clicks_handled = 0;
  clock.At(0, [&] { ++clicks_handled; });  // a click waiting when the slide begins
  SlideOutWindow(d, clock, form);
  EXPECT_EQ(clock.pumps, GetParam().steps);
  EXPECT_DOUBLE_EQ(d.tops[form], GetParam().to);
  EXPECT_EQ(clicks_handled, 1);
}

// A window that cannot go so low (a window manager keeps it on the screen, or the move
// fails): the slide ends after the steps it needed from where it began, and one for rounding.
TEST(SlideOut, EndsAllTheSameWhenTheWindowCannotGoSoLow) {
  struct StuckDesktop : FakeDesktop {
    double floor_at;
    explicit StuckDesktop(double f) : floor_at(f) {}
    void SetWindowTop(Hwnd w, double twips) override { FakeDesktop::SetWindowTop(w, std::min(twips, floor_at)); }
  };
  for (double floor_at : {0.0, 7000.0}) {
    StuckDesktop d(floor_at);
    VirtualClock clock;
    const Hwnd form = d.AddTopLevel("Form", "Form1");
    d.tops[form] = 0;
    SlideOutWindow(d, clock, form);
    EXPECT_EQ(clock.pumps, 26) << floor_at;
  }
}

TEST(BeginWindowDrag, LeftStartsTheSystemsMoveRightAndMiddleTheProgramsOwn) {
  FakeDesktop d;
  const Hwnd form = d.AddTopLevel("Form", "Form1");
  BeginWindowDrag(d, form, MouseButton::Left);
  EXPECT_EQ(d.release_capture_calls, 1);
  EXPECT_EQ(d.Log(), std::vector<fakes::Message>{fakes::Sent(form, wm::kSysCommand, 0xFFFFFFFFFFFFF012u, 0)});
  BeginWindowDrag(d, form, MouseButton::Right);
  BeginWindowDrag(d, form, MouseButton::Middle);
  EXPECT_EQ(d.mouse_moves, (std::vector<std::pair<Hwnd, MouseButton>>{{form, MouseButton::Right},
                                                                       {form, MouseButton::Middle}}));
  EXPECT_EQ(d.release_capture_calls, 1);
}

INSTANTIATE_TEST_SUITE_P(Tops, SlideOut,
                         testing::Values(SlideCase{0, 25, 7500}, SlideCase{7000.5, 1, 7300},
                                         SlideCase{7200, 1, 7500}, SlideCase{8000, 1, 8300},
                                         SlideCase{6899.9, 2, 7499}),
                         [](const auto& info) { return "From" + std::to_string(int(info.param.from)); });

}  // namespace
}  // namespace zantic
