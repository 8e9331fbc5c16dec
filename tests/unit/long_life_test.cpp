// A week of idling on the virtual clock, with a click handled inside one of the run's
// pauses in every minute: every line on time, and nothing kept from one minute to the
// next (the heap in use is the same on the last day as on the first; AddressSanitizer
// looks for leaks too).
#include <gtest/gtest.h>

#include <functional>

#include "core/announcement.h"
#include "fakes/harness.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();  // the sanitizer's heap
#define ZANTIC_HEAP_IN_USE() __sanitizer_get_current_allocated_bytes()
#else
#include <malloc.h>
#define ZANTIC_HEAP_IN_USE() mallinfo2().uordblks
#endif

namespace zantic {
namespace {

TEST(LongLife, AWeekOfMinutesWithAClickInsideAPauseEveryMinute) {
  constexpr int kMinutes = 10080;  // seven days
  fakes::Harness h;
  h.StoreHandle("Pat");
  h.form1.Click(Control::Label4);
  h.form.SetText(Control::Text1, "away");
  const std::string reason = ReasonLine("away");
  auto expect_lines = [&](const std::vector<fakes::PostedLine>& want) {
    ASSERT_EQ(h.lines.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
      ASSERT_EQ(h.lines[i].text, want[i].text) << "line " << i;
      ASSERT_NEAR(h.lines[i].at, want[i].at, 1e-6) << want[i].text;
    }
  };
  // Minute m's loop starts at 60.7 (m - 1) + 0.7 and posts its minute line at 60.7 m. The
  // click comes 1.1 s into the loop: "adv" runs inside the second pause and is done
  // before that pause ends, so the run keeps its time. The click after the last minute is
  // "Stop".
  std::size_t heap_on_day_one = 0;
  std::function<void(int)> minute = [&](int m) {
    const double click = 60.7 * (m - 1) + 1.8, before = click - 60.7;
    if (m == 1) expect_lines({{0, BeganLine()}, {0.7, reason}});
    if (m > 1) {
      expect_lines({{before, CreditLine()}, {before + 0.7, WebAddressLine()},
                    {60.7 * (m - 1), MinuteLine(std::to_string(m - 1))}, {60.7 * (m - 1) + 0.7, reason}});
    }
    h.lines.clear();
    h.journal.clear();
    h.desktop.ClearLog();
    h.aol.steps.clear();
    if (m == 1440) heap_on_day_one = ZANTIC_HEAP_IN_USE();
    if (m == kMinutes) {
      EXPECT_EQ(ZANTIC_HEAP_IN_USE(), heap_on_day_one) << "bytes held on to since day one";
    }
    if (m <= kMinutes) h.clock.At(click + 60.7, [&minute, m] { minute(m + 1); });
    h.form1.Click(m <= kMinutes ? Control::Label11 : Control::Label8);
  };
  h.clock.At(1.8, [&] { minute(1); });
  h.form1.Click(Control::Label7);
  const double end = 60.7 * kMinutes + 0.7 + 2;
  expect_lines({{end, OffIdleLine("Pat", std::to_string(kMinutes))}});
  EXPECT_FALSE(h.form1.State().Running);
}

}  // namespace
}  // namespace zantic
