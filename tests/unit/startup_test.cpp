// The load sequence and the settings file.
#include <gtest/gtest.h>

#include "core/announcement.h"
#include "core/settings.h"
#include "fakes/harness.h"

namespace zantic {
namespace {

using fakes::Harness;
using fakes::Journal;

TEST(Load, RunsItsStepsInOrderWithNoFile) {
  Harness h;
  h.form1.State().Mode = IdleMode::Link;
  const Journal journal = h.Record([&] { h.form1.Form_Load(); });
  EXPECT_EQ(journal, (Journal{"scan", "line " + LoadedByLine("")}));
  EXPECT_EQ(h.desktop.window_pos_calls.size(), 1u) << "kept on top";
  EXPECT_EQ(h.form1.State().Mode, IdleMode::None);
  EXPECT_FALSE(h.profile.exists) << "start-up never creates the file";
  EXPECT_TRUE(h.boxes.shown.empty());
}

TEST(Load, RebukeComesFirstAndTheReplacementIsAnnounced) {
  for (const char* reserved : {"vorn", "tamsel"}) {
    Harness h;
    h.StoreHandle(reserved);
    const Journal journal = h.Record([&] { h.form1.Form_Load(); });
    EXPECT_EQ(journal, (Journal{"box " + std::string(RebukeMessage),
                                "write " + std::string(ReplacementHandle), "scan",
                                "line " + LoadedByLine(ReplacementHandle)}))
        << reserved;
    EXPECT_EQ(h.profile.Text(), "[handle]\nHANDLE=" + std::string(ReplacementHandle) + "\n");
  }
}

TEST(Load, NearMissesAreNotReserved) {
  for (const char* handle : {"Vorn", "TAMSEL", " vorn", "vorn ", "tamsel\t", "vornn", "Pat"}) {
    Harness h;
    h.StoreHandle(handle);
    h.form1.Form_Load();
    EXPECT_TRUE(h.boxes.shown.empty()) << handle;
    EXPECT_EQ(h.LineTexts(), std::vector<std::string>{LoadedByLine(handle)}) << handle;
  }
}

TEST(Load, UnwritableFileRebukesEveryTimeAndNamesTheReservedHandle) {
  Harness h;
  h.StoreHandle("vorn");
  h.profile.read_only = true;
  h.form1.Form_Load();
  EXPECT_EQ(h.boxes.shown.size(), 1u);
  EXPECT_EQ(h.LineTexts(), std::vector<std::string>{LoadedByLine("vorn")});
}

TEST(Load, NothingHappensWhileTheRebukeIsUp) {
  Harness h;
  h.StoreHandle("vorn");
  std::size_t lines_while_up = 99;
  h.boxes.while_shown = [&](const fakes::ShownBox&) { lines_while_up = h.lines.size(); };
  h.form1.Form_Load();
  EXPECT_EQ(lines_while_up, 0u);
  EXPECT_EQ(h.scanner.starts, 1);
}

TEST(Settings, ReadsHandWrittenNamesInAnyCaseAndCutsLongValues) {
  Harness h;
  h.profile.Put("HANDLE", "handle", std::string(800, 'x'));
  EXPECT_EQ(ReadHandle(h.ports), std::string(749, 'x'));
}

TEST(Settings, PathIsTheProgramFolderAndTheFileName) {
  Harness h;
  h.process.directory = "D:\\";  // a drive's root keeps its separator, and nothing is removed
  EXPECT_EQ(SettingsFile(h.process), "D:\\\\zantic.ini");
}

TEST(Settings, KeysAreLowerCasedToReadAndUpperCasedToWrite) {
  struct Spy : ProfileFile {
    std::string read_key, write_key, write_section;
    std::size_t size = 0;
    std::string GetPrivateProfileStringA(std::string_view, std::string_view key, std::string_view,
                                         std::size_t n, std::string_view) override {
      read_key = key;
      size = n;
      return "";
    }
    void WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                    std::string_view, std::string_view) override {
      write_section = section;
      write_key = key;
    }
  } spy;
  const std::string key = "HaNdLe";
  ReadSetting(spy, "Sec", key, "f");
  WriteSetting(spy, "Sec", key, "v", "f");
  EXPECT_EQ(spy.read_key, "handle");
  EXPECT_EQ(spy.size, 750u);
  EXPECT_EQ(spy.write_key, "HANDLE");
  EXPECT_EQ(spy.write_section, "Sec");
  EXPECT_EQ(key, "HaNdLe");
}

}  // namespace
}  // namespace zantic
