// The screen-name cut on arbitrary captions: never crashes, and whatever it returns is a
// piece of the caption that holds no "!".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "aol/chat_room.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view caption(reinterpret_cast<const char*>(data), size);
  const auto name = zantic::ScreenNameFromCaption(caption);
  if (!name) return 0;
  if (caption.substr(0, 9) != "Welcome, ") std::abort();
  if (name->find('!') != std::string::npos) std::abort();
  if (!name->empty() && caption.substr(9, name->size()) != *name) std::abort();
  return 0;
}
