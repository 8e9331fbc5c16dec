// The settings file on a real file system under the real platform: hostile contents, file
// and folder permissions, encodings. Whatever the file holds, a write changes only the
// handle entry and leaves every other byte as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/settings.h"
#include "platform/win32/system_services_win32.h"
#include "platform/win32/text_encoding.h"
#include "drive/sim.h"

namespace {

using zantic::win32::Win32ProfileFile;

std::string Slurp(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void Spit(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out << bytes;
}

struct FileCase {
  const char* name;
  std::string before;
  std::string read;   // the handle read before the write
  std::string after;  // the file after writing the handle "Kim"
};

class SettingsFile : public testing::TestWithParam<FileCase> {};

TEST_P(SettingsFile, ReadsLikeTheProfileCallsAndWritesOnlyTheEntry) {
  const std::wstring dir = drive::MakeTempDir(L"settings");
  const std::wstring path = dir + L"\\zantic.ini";
  const std::string file = zantic::win32::WideToUtf8(path);
  Spit(path, GetParam().before);
  Win32ProfileFile profile;
  EXPECT_EQ(zantic::ReadSetting(profile, "handle", "handle", file), GetParam().read);
  zantic::WriteSetting(profile, "handle", "handle", "Kim", file);
  EXPECT_EQ(Slurp(path), GetParam().after);
  EXPECT_EQ(zantic::ReadSetting(profile, "handle", "handle", file), "Kim");
}

const std::string kUtf16Before("\xFF\xFE[\0h\0a\0n\0d\0l\0e\0]\0\n\0h\0a\0n\0d\0l\0e\0=\0\xE9\0\n\0", 38);
const std::string kUtf16After("\xFF\xFE[\0h\0a\0n\0d\0l\0e\0]\0\n\0h\0a\0n\0d\0l\0e\0=\0K\0i\0m\0\n\0", 42);

INSTANTIATE_TEST_SUITE_P(
    Contents, SettingsFile,
    testing::Values(
        FileCase{"Empty", "", "", "[handle]\r\nHANDLE=Kim\r\n"},
        FileCase{"OnlyABom", "\xEF\xBB\xBF", "", "\xEF\xBB\xBF[handle]\r\nHANDLE=Kim\r\n"},
        FileCase{"CommentsBlanksAndLf", "; keep me\n\n[other]\nx = 1\n\n[handle]\nhandle = Pat \n",
                 "Pat", "; keep me\n\n[other]\nx = 1\n\n[handle]\nhandle =Kim\n"},
        FileCase{"AnsiBytes", "[handle]\r\nHANDLE=Ren\xE9\r\n", "Ren\xC3\xA9", "[handle]\r\nHANDLE=Kim\r\n"},
        FileCase{"Utf8WithBom", "\xEF\xBB\xBF[handle]\nHANDLE=Ren\xC3\xA9\n", "Ren\xC3\xA9",
                 "\xEF\xBB\xBF[handle]\nHANDLE=Kim\n"},
        FileCase{"Utf16", kUtf16Before, "\xC3\xA9", kUtf16After},
        FileCase{"Duplicates", "[handle]\nHANDLE=A\nHANDLE=B\n[HANDLE]\nhandle=C\n", "A",
                 "[handle]\nHANDLE=Kim\nHANDLE=B\n[HANDLE]\nhandle=C\n"},
        FileCase{"BinaryGarbage", std::string("\x00\x01\x02\xFF\n\n]]\x7F", 9), "",
                 std::string("\x00\x01\x02\xFF\n\n]]\x7F\n[handle]\nHANDLE=Kim\n", 30)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileLimits, LongValuesReadBackAsTheirFirst749Characters) {
  const std::wstring path = drive::MakeTempDir(L"settings") + L"\\zantic.ini";
  const std::string file = zantic::win32::WideToUtf8(path);
  Win32ProfileFile profile;
  for (std::size_t n : {749u, 750u, 800u, 5000u}) {
    zantic::WriteSetting(profile, "handle", "handle", std::string(n, 'x'), file);
    EXPECT_EQ(zantic::ReadSetting(profile, "handle", "handle", file), std::string(std::min<std::size_t>(n, 749), 'x'));
  }
}

TEST(SettingsFileLimits, TenMegabytesAroundTheEntrySurvive) {
  const std::wstring path = drive::MakeTempDir(L"settings") + L"\\zantic.ini";
  std::string filler;
  for (int i = 0; filler.size() < 10 * 1024 * 1024; ++i) filler += "[s" + std::to_string(i) + "]\nk = v\n";
  Spit(path, filler + "[handle]\nHANDLE=Pat\n" + filler);
  Win32ProfileFile profile;
  const std::string file = zantic::win32::WideToUtf8(path);
  EXPECT_EQ(zantic::ReadSetting(profile, "handle", "handle", file), "Pat");
  zantic::WriteSetting(profile, "handle", "handle", "Kim", file);
  EXPECT_EQ(Slurp(path), filler + "[handle]\nHANDLE=Kim\n" + filler);
}

TEST(SettingsFilePermissions, AReadOnlyFileIsLeftAsItIs) {
  const std::wstring path = drive::MakeTempDir(L"settings") + L"\\zantic.ini";
  Spit(path, "[handle]\nHANDLE=vorn\n");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  Win32ProfileFile profile;
  const std::string file = zantic::win32::WideToUtf8(path);
  zantic::WriteSetting(profile, "handle", "handle", "Kim", file);
  EXPECT_EQ(Slurp(path), "[handle]\nHANDLE=vorn\n");
  EXPECT_EQ(zantic::ReadSetting(profile, "handle", "handle", file), "vorn");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SettingsFilePermissions, AMissingFolderMeansNoFileAndNoTrouble) {
  const std::string file = zantic::win32::WideToUtf8(drive::MakeTempDir(L"settings") + L"\\gone\\zantic.ini");
  Win32ProfileFile profile;
  zantic::WriteSetting(profile, "handle", "handle", "Kim", file);
  EXPECT_EQ(zantic::ReadSetting(profile, "handle", "handle", file), "");
}

}  // namespace
