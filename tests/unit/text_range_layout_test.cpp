// The TEXTRANGE written into the client's memory, byte for byte, for every pairing of a
// 32-bit or 64-bit program with a 32-bit or 64-bit client.
#include <gtest/gtest.h>

#include "platform/text_range_layout.h"

namespace zantic {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct LayoutCase {
  const char* name;
  Bitness program;
  std::optional<bool> program_under_wow64, client_under_wow64;
  std::uint64_t text;                // the text's address in the client
  std::optional<Bitness> client;     // nothing: no memory lent, the box is read whole
  std::optional<Bytes> bytes;        // nothing: the address refused
};

// cpMin 7, cpMax 0x12345, then the pointer.
const Bytes kRange = {0x07, 0x00, 0x00, 0x00, 0x45, 0x23, 0x01, 0x00};
Bytes Range(Bytes pointer) {
  Bytes out = kRange;
  out.insert(out.end(), pointer.begin(), pointer.end());
  return out;
}
constexpr std::uint64_t kHigh = 0x000001F23A4B5C60, kLow = 0x0012FF40, kTop = 0xFFFF0010;
const Bytes kHighPointer = {0x60, 0x5C, 0x4B, 0x3A, 0xF2, 0x01, 0x00, 0x00};

class Layout : public testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, IsTheClientsOwn) {
  const LayoutCase& c = GetParam();
  const auto layout = TextRangeLayout::For(c.program, c.program_under_wow64, c.client_under_wow64);
  ASSERT_EQ(layout.has_value(), c.client.has_value());
  if (!layout) return;
  EXPECT_EQ(layout->client(), *c.client);
  const auto bytes = layout->Bytes(7, 0x12345, c.text);
  EXPECT_EQ(bytes, c.bytes);
  if (bytes) {
    EXPECT_EQ(bytes->size(), layout->Size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    ProgramAndClient, Layout,
    testing::Values(
        LayoutCase{"Program64Client64", Bitness::k64, false, false, kHigh, Bitness::k64, Range(kHighPointer)},
        LayoutCase{"Program64Client32", Bitness::k64, false, true, kLow, Bitness::k32, Range({0x40, 0xFF, 0x12, 0x00})},
        LayoutCase{"Program32Client32OnWindows64", Bitness::k32, true, true, kLow, Bitness::k32,
                   Range({0x40, 0xFF, 0x12, 0x00})},
        // A 32-bit Windows says nothing of WoW64 (or lacks the question): every client is 32-bit.
        LayoutCase{"Program32OnWindows32", Bitness::k32, false, false, kLow, Bitness::k32,
                   Range({0x40, 0xFF, 0x12, 0x00})},
        LayoutCase{"Program32Client64ReadsWhole", Bitness::k32, true, false, kLow, std::nullopt, std::nullopt},
        // The top of a 32-bit client's 4 GB still fits its pointer; above it nothing does.
        LayoutCase{"Client32AddressAtTheTopOfItsSpace", Bitness::k64, false, true, kTop, Bitness::k32,
                   Range({0x10, 0x00, 0xFF, 0xFF})},
        LayoutCase{"Client32AddressAbove4GBRefused", Bitness::k64, false, true, kHigh, Bitness::k32, std::nullopt},
        LayoutCase{"ClientUnknownReadsWhole", Bitness::k64, false, std::nullopt, kHigh, std::nullopt, std::nullopt},
        LayoutCase{"Program32UnknownReadsWhole", Bitness::k32, std::nullopt, true, kLow, std::nullopt,
                   std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zantic
