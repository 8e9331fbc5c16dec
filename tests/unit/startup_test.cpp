// The load sequence and the settings file.
#include <gtest/gtest.h>

#include "core/announcement.h"
#include "core/settings.h"
#include "core/texts.h"
#include "fakes/harness.h"

namespace zantic {
namespace {

using fakes::Harness;
using fakes::Journal;

struct LoadCase {
  const char* name;
  std::optional<std::string> stored;  // nothing: no settings file
  bool read_only;
  Journal journal;  // what the load does, in order
};

class Load : public testing::TestWithParam<LoadCase> {};

TEST_P(Load, RebukesReservedHandlesBeforeAnythingElseAndAnnouncesWhatIsStored) {
  const LoadCase& c = GetParam();
  Harness h;
  if (c.stored) h.StoreHandle(*c.stored);
  if (c.read_only) h.files.writes = WriteResult::FileReadOnly;
  h.form1.State().Mode = IdleMode::Link;
  EXPECT_EQ(h.Record([&] { h.form1.Form_Load(); }), c.journal);
  EXPECT_EQ(h.own_window.window_pos_calls.size(), 1u) << "kept on top";
  EXPECT_EQ(h.form1.State().Mode, IdleMode::None);
  if (!c.stored) {
    EXPECT_FALSE(h.SettingsText()) << "start-up never creates the file";
  }
}

const std::string kRebuke = "box " + std::string(RebukeMessage);
const std::string kWrite = "write zantic.ini";
const std::string kLoadedByReplacement = "line " + LoadedByLine(ReplacementHandle);

INSTANTIATE_TEST_SUITE_P(
    Files, Load,
    testing::Values(
        LoadCase{"NoFile", std::nullopt, false, {"scan", "line " + LoadedByLine("")}},
        LoadCase{"Vorn", "vorn", false, {kRebuke, kWrite, "scan", kLoadedByReplacement}},
        LoadCase{"Tamsel", "tamsel", false, {kRebuke, kWrite, "scan", kLoadedByReplacement}},
        LoadCase{"UnwritableReserved", "vorn", true, {kRebuke, kWrite, "scan", "line " + LoadedByLine("vorn")}},
        LoadCase{"CapitalV", "Vorn", false, {"scan", "line " + LoadedByLine("Vorn")}},
        LoadCase{"Capitals", "TAMSEL", false, {"scan", "line " + LoadedByLine("TAMSEL")}},
        LoadCase{"LeadingBlank", " vorn", false, {"scan", "line " + LoadedByLine(" vorn")}},
        LoadCase{"Longer", "vornn", false, {"scan", "line " + LoadedByLine("vornn")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Settings, PathKeysAndLengthAreThoseOfTheProfileCalls) {
  Harness h;
  h.process.directory = "D:\\";  // a drive's root keeps its separator, and nothing is removed
  EXPECT_EQ(SettingsFile(h.process), "D:\\\\zantic.ini");
  h.WriteSettings("[HANDLE]\nhandle=" + std::string(800, 'x') + "\n");
  EXPECT_EQ(ReadHandle(h.ports.settings()), std::string(749, 'x'));
  WriteHandle(h.ports.settings(), "Kim");
  EXPECT_EQ(h.SettingsText(), "[HANDLE]\nhandle=Kim\n") << "an existing key keeps its spelling";
  h.files.files.clear();
  WriteHandle(h.ports.settings(), "Kim");
  EXPECT_EQ(h.SettingsText(), "[handle]\r\nHANDLE=Kim\r\n");
}

}  // namespace
}  // namespace zantic
