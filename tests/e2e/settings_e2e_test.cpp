// The settings file on a real file system under the real platform: the code page, file and
// folder permissions, a large file, and the whole program with each. (Every encoding and
// hostile content of the file is a native table: tests/unit/profile_file_test.cpp.)
#include <gtest/gtest.h>

#include <optional>

#include "core/announcement.h"
#include "core/texts.h"
#include "drive/program.h"
#include "drive/sim.h"

namespace {

using zantic::Control;

std::string Slurp(const std::wstring& path) { return drive::ReadFileBytes(path).value_or(""); }

// A file the program may not replace: read-only, or in a folder where no new file can be
// made (where its replacement would go, a folder of that name stands; under Wine, as root,
// a read-only folder takes new files all the same).
enum class Lock { None, ReadOnlyFile, NoNewFiles };

struct FileCase {
  const char* name;
  std::optional<std::string> before;  // nothing: no file
  std::string read;                   // the handle read before the write
  std::string after;                  // the file after writing `handle`
  std::string handle = "Kim";
  std::string stored = "Kim";  // the handle read after the write
  Lock lock = Lock::None;
  zantic::WriteResult result = zantic::WriteResult::Written;
  friend void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }
};

void Prepare(const FileCase& c, const std::wstring& path) {
  if (c.before) drive::WriteFileBytes(path, *c.before);
  if (c.lock == Lock::ReadOnlyFile) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

void Lock(const FileCase& c, const std::wstring& path, DWORD pid) {
  if (c.lock == Lock::NoNewFiles) CreateDirectoryW((path + L"." + std::to_wstring(pid) + L".tmp").c_str(), nullptr);
}

// Files a write left behind in the folder (the folder that stands in a replacement's way
// is no file; the program's own files are no leftovers).
int LeftoverFiles(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\zantic.ini*").c_str(), &found);
  int count = 0;
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const bool folder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (!folder && std::wstring(found.cFileName) != L"zantic.ini") ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

class SettingsFile : public testing::TestWithParam<FileCase> {};

// The whole program with the file: start-up, "set", Start and Stop, and "X".
TEST_P(SettingsFile, TheProgramStartsSetsRunsAndEndsWithIt) {
  const FileCase& c = GetParam();
  drive::Sim sim;
  const drive::TempDir dir(L"zantic");
  const std::wstring path = dir.path + L"\\zantic.ini";
  Prepare(c, path);
  drive::Program program(drive::Program::Options{.dir = dir.path, .settings = {}});
  ASSERT_TRUE(sim.Ready() && program.Ready());
  EXPECT_TRUE(sim.WaitForChat(zantic::LoadedByLine(c.read)));
  EXPECT_EQ(drive::ReadFileBytes(path), c.before) << "start-up leaves the file as it is";
  Lock(c, path, GetProcessId(program.Process()));
  EXPECT_EQ(program.SetHandle(c.handle), c.read);
  if (c.result == zantic::WriteResult::Written) {
    EXPECT_TRUE(sim.WaitForChat(zantic::HandleChangedLine(c.handle)));
  } else {
    // Not stored, so not announced: the user is told why instead.
    EXPECT_EQ(drive::AnswerNextBox(), zantic::HandleNotSavedMessage(c.result));
    EXPECT_EQ(sim.Count(zantic::HandleChangedLine(c.handle)), 0);
  }
  program.Click(Control::Label4);
  program.Click(Control::Label7);
  program.Click(Control::Label8);
  EXPECT_TRUE(sim.WaitForChat(zantic::OffIdleLine(c.stored, "0")));
  EXPECT_EQ(program.Exit(), 0u);
  EXPECT_TRUE(sim.WaitForChat(zantic::UnloadedByLine(c.stored)));
  EXPECT_EQ(Slurp(path), c.after) << "every byte but the entry's is kept";
  EXPECT_EQ(LeftoverFiles(dir.path), 0);
}

// Ten megabytes of other sections around the entry.
std::string Filler() {
  static const std::string filler = [] {
    std::string f;
    for (int i = 0; f.size() < 10 * 1024 * 1024; ++i) f += "[s" + std::to_string(i) + "]\nk = v\n";
    return f;
  }();
  return filler;
}

INSTANTIATE_TEST_SUITE_P(
    Contents, SettingsFile,
    testing::Values(
        FileCase{"Missing", std::nullopt, "", "[handle]\r\nHANDLE=Kim\r\n"},
        FileCase{"AnsiBytesAndCrlf", "[handle]\r\nHANDLE=Ren\xE9\r\n", "Ren\xC3\xA9", "[handle]\r\nHANDLE=Kim\r\n"},
        FileCase{"TenMegabytes", Filler() + "[handle]\nHANDLE=Pat\n" + Filler(), "Pat",
                 Filler() + "[handle]\nHANDLE=Kim\n" + Filler()},
        FileCase{"ReadOnlyFile", "[handle]\nHANDLE=Pat\n", "Pat", "[handle]\nHANDLE=Pat\n", "Kim", "Pat",
                 Lock::ReadOnlyFile, zantic::WriteResult::FileReadOnly},
        // A folder that takes no new file: the file there is written in place; with none,
        // nothing can be written.
        FileCase{"NoNewFilesInTheFolder", "[handle]\nHANDLE=Pat\n", "Pat", "[handle]\nHANDLE=Kim\n", "Kim", "Kim",
                 Lock::NoNewFiles},
        FileCase{"NoNewFilesAndNoFile", std::nullopt, "", "", "Kim", "", Lock::NoNewFiles,
                 zantic::WriteResult::FolderReadOnly}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
