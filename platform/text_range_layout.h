// The one structure the program writes into another program's memory: the TEXTRANGE of
// EM_GETTEXTRANGE (a range of character positions, and the address where the rich text box
// writes the text), put into memory lent in the client's process so that the box can read
// it. The layout belongs to the process that reads it, so it is laid out for the client's
// bitness, whatever ours is: a 32-bit client reads 12 bytes with a 4-byte pointer, a
// 64-bit client 16 bytes with an 8-byte pointer; both put the two 4-byte positions first
// and the pointer at offset 8, all little-endian. Which one the client is comes from the
// system (whether it runs the client, and us, under WoW64, its 32-bit layer), never from
// how this program was built. Everything that differs by bitness lives here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zantic {

enum class Bitness { k32, k64 };

// This build of the program.
inline constexpr Bitness kProgramBitness = sizeof(void*) == 8 ? Bitness::k64 : Bitness::k32;

// How to build the TEXTRANGE for one client process.
class TextRangeLayout {
 public:
  // The layout for a client, from what the system says: whether it runs the program and
  // the client under WoW64 (nothing: it would not say). A 32-bit program outside WoW64 is
  // on a 32-bit Windows, where every process is 32-bit; otherwise a client under WoW64 is
  // 32-bit and any other 64-bit. Nothing when no memory may be lent there and the box is to
  // be read whole instead (WM_GETTEXT, which the system carries across processes itself):
  // a 32-bit program cannot name memory in a 64-bit process, its pointers are too narrow;
  // and a client whose bitness is unknown is not written to.
  static std::optional<TextRangeLayout> For(Bitness program, std::optional<bool> program_under_wow64,
                                            std::optional<bool> client_under_wow64);

  Bitness client() const { return client_; }
  // The structure's size in the client's memory.
  std::size_t Size() const { return client_ == Bitness::k64 ? 16 : 12; }
  // Its bytes for the range [cp_min, cp_max) and the text's address in the client; nothing
  // when the address does not fit the client's pointers.
  std::optional<std::vector<std::uint8_t>> Bytes(std::int32_t cp_min, std::int32_t cp_max,
                                                 std::uint64_t text) const;

 private:
  explicit TextRangeLayout(Bitness client) : client_(client) {}
  Bitness client_;
};

}  // namespace zantic
