#include "platform/win32/system_services_win32.h"

#include "platform/win32/text_encoding.h"

namespace zantic::win32 {
namespace {

// Writes the bytes into the file as it stands, for a folder that takes no new file.
WriteResult WriteInPlace(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return WriteResult::WriteFailed;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && SetEndOfFile(file) && FlushFileBuffers(file);
  CloseHandle(file);
  return ok ? WriteResult::Written : WriteResult::WriteFailed;
}

}  // namespace

FileBytes Win32FileSystem::ReadWholeFile(std::string_view path) {
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? FileBytes::Missing : FileBytes::Unreadable, {}};
  }
  FileBytes read{FileBytes::Read, {}};
  char buffer[64 * 1024];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) read.bytes.append(buffer, got);
  CloseHandle(file);
  if (!ok) return {FileBytes::Unreadable, {}};
  return read;
}

// The new content goes to a file beside the old one, which then takes its place.
WriteResult Win32FileSystem::ReplaceWholeFile(std::string_view utf8_path, std::string_view bytes) {
  const std::wstring path = Utf8ToWide(utf8_path);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return WriteResult::FileReadOnly;
  const std::wstring temp = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return exists ? WriteInPlace(path, bytes) : WriteResult::FolderReadOnly;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (!ok || !MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return WriteResult::WriteFailed;
  }
  return WriteResult::Written;
}

std::string Win32CodePage::ToAnsi(std::string_view utf8) { return Utf8ToAnsi(utf8); }
std::string Win32CodePage::FromAnsi(std::string_view ansi) { return AnsiToUtf8(ansi); }

void Win32MessageBoxes::MessageBoxA(std::string_view text, std::string_view title, unsigned style) {
  // The texts are shown as they are, so the wide form of the call carries every character.
  ::MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(), style);
}

std::uint32_t Win32UserInput::TickMs() { return GetTickCount(); }

std::uint32_t Win32UserInput::LastInputTickMs() {
  LASTINPUTINFO info{sizeof info, 0};
  return GetLastInputInfo(&info) ? info.dwTime : 0;
}

int Win32UserInput::MinuteOfDay() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wHour * 60 + now.wMinute;
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
