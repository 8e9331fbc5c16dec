#include "core/idle_state.h"

namespace zantic {

std::string_view ToText(IdleMode mode) {
  switch (mode) {
    case IdleMode::None: return "no";
    case IdleMode::Regular: return "yes";
    case IdleMode::Link: return "link";
  }
  return "link";
}

}  // namespace zantic
