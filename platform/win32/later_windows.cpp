#include "platform/win32/later_windows.h"

#include <atomic>
#include <cstdint>

#include "platform/wide_tick_count.h"

namespace zantic::win32 {

#ifdef ZANTIC_AS_WINDOWS_XP
FARPROC LaterWindowsFunction(const wchar_t*, const char*) { return nullptr; }
bool LaterWindows() { return false; }
#else
FARPROC LaterWindowsFunction(const wchar_t* module, const char* name) {
  HMODULE loaded = GetModuleHandleW(module);
  return loaded ? GetProcAddress(loaded, name) : nullptr;
}
bool LaterWindows() { return true; }
#endif

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

// GetTickCount64 where kernel32 has none (before Vista): GetTickCount, carried on across its
// wraps. Only the threads library asks (for its timed waits), often, and from any thread.
WideTickCount wide_ticks;
ULONGLONG WINAPI WideGetTickCount() {
  return wide_ticks.Now([] { return static_cast<std::uint32_t>(GetTickCount()); });
}

// Chosen at the first call; a race between two first calls only chooses twice. Nothing
// here needs a constructor or the C++ runtime's locks, which use the threads library.
std::atomic<TickCount64Function> tick_count_64{nullptr};

ULONGLONG WINAPI TickCount64() {
  TickCount64Function chosen = tick_count_64.load(std::memory_order_acquire);
  if (!chosen) {
    chosen = LaterWindowsFunction<TickCount64Function>(L"kernel32.dll", "GetTickCount64");
    if (!chosen) chosen = &WideGetTickCount;
    tick_count_64.store(chosen, std::memory_order_release);
  }
  return chosen();
}

}  // namespace
}  // namespace zantic::win32

// The threads library (winpthread, linked in) calls GetTickCount64 through its import
// pointer, __imp_GetTickCount64. Defined here, that pointer leads to TickCount64 above, and
// the program imports no GetTickCount64 from kernel32. The name is the linker's: on 32-bit
// x86 it carries the stdcall decoration. This file is linked ahead of the threads library
// because the event loop uses LaterWindowsFunction; the import check would show it if not.
#ifdef __i386__
#define ZANTIC_GET_TICK_COUNT_64_POINTER "__imp__GetTickCount64@0"
#else
#define ZANTIC_GET_TICK_COUNT_64_POINTER "__imp_GetTickCount64"
#endif
extern "C" {
extern const zantic::win32::TickCount64Function zantic_get_tick_count_64 asm(ZANTIC_GET_TICK_COUNT_64_POINTER);
const zantic::win32::TickCount64Function zantic_get_tick_count_64 = &zantic::win32::TickCount64;
}
