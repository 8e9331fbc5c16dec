// zantic-idle-trace.exe, a reference build for the benchmarks (never the product): the
// program, appending every line its chat scanner reports to chat-trace.txt beside it as
// "speaker<TAB>text".
#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/win32/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring dir(path, n);
  FILE* trace = _wfopen((dir.substr(0, dir.find_last_of(L'\\')) + L"\\chat-trace.txt").c_str(), L"ab");
  zantic::win32::ProgramHooks hooks;
  hooks.on_chat_lines = [trace](const std::vector<zantic::ChatLineReport>& lines) {
    if (!trace) return;
    for (const auto& line : lines) std::fprintf(trace, "%s\t%s\n", line.speaker.c_str(), line.text.c_str());
    std::fflush(trace);
  };
  return zantic::win32::RunProgram(instance, hooks);
}
