#include "platform/win32/system_services_win32.h"

#include <vector>

#include "platform/win32/text_encoding.h"

namespace zantic::win32 {

std::string Win32ProfileFile::GetPrivateProfileStringA(std::string_view section,
                                                       std::string_view key,
                                                       std::string_view default_value,
                                                       std::size_t size, std::string_view file) {
  if (size == 0) return {};
  std::vector<char> buffer(size, '\0');
  const DWORD n = ::GetPrivateProfileStringA(
      Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(), Utf8ToAnsi(default_value).c_str(),
      buffer.data(), static_cast<DWORD>(size), Utf8ToAnsi(file).c_str());
  return AnsiToUtf8(std::string_view(buffer.data(), std::min<std::size_t>(n, size)));
}

void Win32ProfileFile::WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                                  std::string_view value, std::string_view file) {
  ::WritePrivateProfileStringA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(),
                               Utf8ToAnsi(value).c_str(), Utf8ToAnsi(file).c_str());
}

void Win32MessageBoxes::MessageBoxA(std::string_view text, std::string_view title,
                                    unsigned style) {
  // The texts are shown as they are, so the wide form of the call carries every character.
  ::MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(), style);
}

std::string Win32Process::ProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::wstring dir = path.substr(0, path.find_last_of(L"\\/"));
  // A drive's root keeps its separator ("C:\"), as the platform reports it.
  if (dir.size() == 2 && dir[1] == L':') dir += L'\\';
  return WideToUtf8(dir);
}

void Win32Process::EndProgram() { ExitProcess(0); }

}  // namespace zantic::win32
