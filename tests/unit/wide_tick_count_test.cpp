// GetTickCount64 made from the 32-bit count on a Windows without it: on across the wrap
// every 49.7 days, and whole when threads ask at once.
#include "platform/wide_tick_count.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

namespace zantic {
namespace {

constexpr std::uint64_t kWrap = std::uint64_t{1} << 32;

struct Readings {
  const char* name;
  std::vector<std::uint32_t> ticks;  // GetTickCount at each call
  std::vector<std::uint64_t> wide;   // what the calls return
};

class WideTicks : public testing::TestWithParam<Readings> {};

TEST_P(WideTicks, CarryOnAcrossTheWrapAndNeverStepBack) {
  WideTickCount count;
  std::vector<std::uint64_t> wide;
  for (std::uint32_t ticks : GetParam().ticks) wide.push_back(count.Now([ticks] { return ticks; }));
  EXPECT_EQ(wide, GetParam().wide);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, WideTicks,
    testing::Values(
        Readings{"FromTheFirstReading", {1000, 1500, 1500}, {1000, 1500, 1500}},
        Readings{"AcrossTheWrap", {0xFFFFFF00u, 0xFFFFFFFFu, 0, 0x10}, {0xFFFFFF00u, 0xFFFFFFFFu, kWrap, kWrap + 0x10}},
        // A computer on for months, the program asking rarely.
        Readings{"TwoWrapsAtLongIntervals", {10, 0x80000000u, 5, 0x80000000u, 7},
                 {10, 0x80000000u, kWrap + 5, kWrap + 0x80000000u, 2 * kWrap + 7}},
        // Nearly 49.7 days between two calls: 2^32 - 1 ms later, the 32-bit count is 1 less.
        Readings{"AGapOfAlmostAWholeWrap", {100, 99, 100}, {100, kWrap + 99, kWrap + 100}}),
    [](const auto& info) { return std::string(info.param.name); });

// Threads that ask at once, the 32-bit count going up by one at each reading and wrapping
// half-way: every reading is counted once, in order, and no thread sees time go back.
TEST(WideTickCountThreads, CountEveryReadingOnceAndInOrder) {
  constexpr int kThreads = 4, kCalls = 50000;
  constexpr std::uint32_t kStart = 0xFFFFFFFFu - kThreads * kCalls / 2;
  WideTickCount count;
  std::uint32_t ticks = kStart;  // read only under the count's lock
  std::vector<std::vector<std::uint64_t>> seen(kThreads);
  std::vector<std::thread> threads;
  for (auto& values : seen) {
    threads.emplace_back([&] {
      for (int i = 0; i < kCalls; ++i) values.push_back(count.Now([&] { return ticks++; }));
    });
  }
  std::vector<std::uint64_t> all, expected;
  for (std::size_t t = 0; t < seen.size(); ++t) {
    threads[t].join();
    EXPECT_TRUE(std::is_sorted(seen[t].begin(), seen[t].end()));
    all.insert(all.end(), seen[t].begin(), seen[t].end());
  }
  std::sort(all.begin(), all.end());
  for (std::uint64_t i = 0; i < all.size(); ++i) expected.push_back(kStart + i);
  EXPECT_EQ(all, expected);
}

}  // namespace
}  // namespace zantic
