#include "platform/win32/system_services_win32.h"

#include <cstring>
#include <optional>
#include <vector>

#include "core/ini_text.h"

#include "platform/win32/text_encoding.h"

namespace zantic::win32 {

namespace {

// The settings file's bytes, or nothing when it is missing or cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[64 * 1024];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}

// Writes the bytes into the file as it stands, for a folder that takes no new file.
WriteResult WriteInPlace(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return WriteResult::WriteFailed;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && SetEndOfFile(file) && FlushFileBuffers(file);
  CloseHandle(file);
  return ok ? WriteResult::Written : WriteResult::WriteFailed;
}

// Replaces the file in one step: the new content goes to a file beside it, which then takes
// its place, so the settings file is never left half written. Where no file can be made
// beside it (a read-only folder) but the file itself may be written, it is written in
// place. No temporary file is ever left behind.
WriteResult ReplaceWholeFile(const std::wstring& path, const std::string& bytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return WriteResult::FileReadOnly;
  const std::wstring temp = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return exists ? WriteInPlace(path, bytes) : WriteResult::FolderReadOnly;
  }
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

// The text of a settings file in the encoding we edit it in, and how to turn it back.
struct DecodedFile {
  enum Kind { Ansi, Utf8, Utf16 } kind = Ansi;
  std::string text;  // ANSI bytes, or UTF-8 for the other two
};

DecodedFile Decode(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::wstring wide((bytes.size() - 2) / 2, L'\0');
    std::memcpy(wide.data(), bytes.data() + 2, wide.size() * 2);
    return {DecodedFile::Utf16, WideToUtf8(wide)};
  }
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return {DecodedFile::Utf8, bytes.substr(3)};
  return {DecodedFile::Ansi, bytes};
}

std::string Encode(const DecodedFile& file) {
  switch (file.kind) {
    case DecodedFile::Utf16: {
      const std::wstring wide = Utf8ToWide(file.text);
      std::string bytes = "\xFF\xFE";
      bytes.append(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
      return bytes;
    }
    case DecodedFile::Utf8: return "\xEF\xBB\xBF" + file.text;
    case DecodedFile::Ansi: break;
  }
  return file.text;
}

// At most `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& utf8, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t chars = 0; i < utf8.size() && chars < count; ++chars) {
    ++i;
    while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
  }
  return utf8.substr(0, i);
}

}  // namespace

std::string Win32ProfileFile::GetPrivateProfileStringA(std::string_view section,
                                                       std::string_view key,
                                                       std::string_view default_value,
                                                       std::size_t size, std::string_view file) {
  if (size == 0) return {};
  std::string value(default_value);
  if (auto bytes = ReadWholeFile(Utf8ToWide(file))) {
    const DecodedFile decoded = Decode(*bytes);
    const bool ansi = decoded.kind == DecodedFile::Ansi;
    if (auto found = FindIniValue(decoded.text, ansi ? Utf8ToAnsi(section) : std::string(section),
                                  ansi ? Utf8ToAnsi(key) : std::string(key))) {
      // As from a C buffer: the value ends at a NUL, and the buffer holds size - 1 characters.
      std::string raw = found->substr(0, found->find('\0'));
      if (ansi) return AnsiToUtf8(raw.substr(0, std::min(raw.size(), size - 1)));
      return FirstCharacters(raw, size - 1);
    }
  }
  return FirstCharacters(value, size - 1);
}

WriteResult Win32ProfileFile::WritePrivateProfileStringA(std::string_view section,
                                                         std::string_view key,
                                                         std::string_view value,
                                                         std::string_view file) {
  const std::wstring path = Utf8ToWide(file);
  std::string bytes;
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    auto existing = ReadWholeFile(path);
    // There but unreadable: never overwrite what we cannot keep.
    if (!existing) return WriteResult::FileUnreadable;
    bytes = std::move(*existing);
  }
  DecodedFile decoded = Decode(bytes);
  // UTF-16 that does not convert back to the same bytes (half a surrogate pair, an odd
  // byte at the end) would lose bytes in the rewrite: such a file is left as it is.
  if (Encode(decoded) != bytes) return WriteResult::FileUnconvertible;
  const bool ansi = decoded.kind == DecodedFile::Ansi;
  auto in_file = [ansi](std::string_view text) { return ansi ? Utf8ToAnsi(text) : std::string(text); };
  decoded.text = SetIniValue(decoded.text, in_file(section), in_file(key), in_file(value));
  return ReplaceWholeFile(path, Encode(decoded));
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
