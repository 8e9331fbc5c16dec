// aolsim-ctl: sends one command to the running stand-in's control channel, for a person
// or a script. The words of the command line are joined with blanks; "\t", "\n" and "\\"
// in them stand for a tab, a line feed and a backslash:
//
//   aolsim-ctl say "Kim Lee\thello room"
//   aolsim-ctl flood 200 5
//
// Exit code 0 when the stand-in took the command, 1 when it refused it, 2 when there is no
// stand-in to talk to.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/text_encoding.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: aolsim-ctl <command> [words...]\n");
    return 2;
  }
  std::wstring joined;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) joined += L' ';
    joined += argv[i];
  }
  std::string command;
  const std::string utf8 = zantic::win32::WideToUtf8(joined);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\\' && i + 1 < utf8.size()) {
      const char next = utf8[i + 1];
      if (next == 't' || next == 'n' || next == '\\') {
        command += next == 't' ? '\t' : next == 'n' ? '\n' : '\\';
        ++i;
        continue;
      }
    }
    command += utf8[i];
  }
  HWND frame = FindWindowW(L"AOL Frame25", nullptr);
  if (!frame) {
    std::fwprintf(stderr, L"aolsim-ctl: no stand-in is running\n");
    return 2;
  }
  COPYDATASTRUCT data{};
  data.dwData = 0x5A49;
  data.cbData = static_cast<DWORD>(command.size());
  data.lpData = command.data();
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                           &result)) {
    std::fwprintf(stderr, L"aolsim-ctl: the stand-in did not answer\n");
    return 2;
  }
  if (result != TRUE) {
    std::fwprintf(stderr, L"aolsim-ctl: the stand-in refused the command (see its log)\n");
    return 1;
  }
  return 0;
}
