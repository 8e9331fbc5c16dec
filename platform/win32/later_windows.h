// Windows XP SP3 is the oldest Windows the program runs on, so it imports only what XP has
// (scripts/imports-allowed.txt; scripts/check-imports holds the build to it). What later
// Windows added is looked up here when it is wanted, and each caller keeps a way that does
// without it.
//
// A test copy of the program (zantic-idle-legacy.exe) compiles this helper's source with
// ZANTIC_AS_WINDOWS_XP: there every lookup finds nothing and LaterWindows() is false, so
// the copy takes each of the XP ways on any Windows.
#pragma once

#include <windows.h>

namespace zantic::win32 {

// The function `name` of `module` (a system DLL the program has already loaded), or
// nullptr on a Windows that lacks it.
FARPROC LaterWindowsFunction(const wchar_t* module, const char* name);

template <typename Function>
Function LaterWindowsFunction(const wchar_t* module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(LaterWindowsFunction(module, name)));
}

// Whether to try what a later Windows added to a call XP has too (a larger structure, a
// newer version of a protocol); the caller falls back when the system refuses it. False
// only in the test copy.
bool LaterWindows();

}  // namespace zantic::win32
