// A window handle: an opaque value naming one window; 0 means "no window".
#pragma once

#include <cstdint>

namespace zantic {

using Hwnd = std::uintptr_t;
inline constexpr Hwnd kNoWindow = 0;

}  // namespace zantic
