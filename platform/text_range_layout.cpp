#include "platform/text_range_layout.h"

namespace zantic {
namespace {

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::optional<TextRangeLayout> TextRangeLayout::For(Bitness program, std::optional<bool> program_under_wow64,
                                                    std::optional<bool> client_under_wow64) {
  if (program == Bitness::k32) {
    if (!program_under_wow64) return std::nullopt;
    if (!*program_under_wow64) return TextRangeLayout(Bitness::k32);  // 32-bit Windows
  }
  if (!client_under_wow64) return std::nullopt;
  const Bitness client = *client_under_wow64 ? Bitness::k32 : Bitness::k64;
  if (program == Bitness::k32 && client == Bitness::k64) return std::nullopt;
  return TextRangeLayout(client);
}

std::optional<std::vector<std::uint8_t>> TextRangeLayout::Bytes(std::int32_t cp_min, std::int32_t cp_max,
                                                                std::uint64_t text) const {
  const std::size_t pointer = client_ == Bitness::k64 ? 8 : 4;
  if (pointer == 4 && text > 0xFFFFFFFFu) return std::nullopt;
  std::vector<std::uint8_t> out;
  out.reserve(Size());
  PutLittleEndian(out, static_cast<std::uint32_t>(cp_min), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(cp_max), 4);
  PutLittleEndian(out, text, pointer);
  return out;
}

}  // namespace zantic
