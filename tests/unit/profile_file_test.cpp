// The settings file's bytes, read and written as the private-profile calls would: every
// encoding it may come in, hostile contents, lengths, and failing writes.
#include "core/profile_file.h"

#include <gtest/gtest.h>

#include "fakes/fake_ports.h"

namespace zantic {
namespace {

constexpr std::string_view kPath = "C:\\zantic\\zantic.ini";

struct FileCase {
  const char* name;
  std::optional<std::string> before;  // nothing: no file
  std::string read;                   // the handle read before the write
  std::string after;                  // the file after writing `handle`
  std::string handle = "Kim";
  std::string stored = "Kim";  // the handle read after the write
  WriteResult result = WriteResult::Written;
  bool unreadable = false;
};

class Profile : public testing::TestWithParam<FileCase> {};

TEST_P(Profile, ReadsLikeTheProfileCallsAndWritesOnlyTheEntry) {
  const FileCase& c = GetParam();
  fakes::FakeFiles files;
  fakes::Latin1CodePage code_page;
  if (c.before) files.files[std::string(kPath)] = *c.before;
  files.unreadable = c.unreadable;
  ProfileFile profile(files, code_page);
  auto read = [&] { return profile.GetPrivateProfileStringA("handle", "handle", "", 750, kPath); };
  EXPECT_EQ(read(), c.read);
  EXPECT_EQ(profile.WritePrivateProfileStringA("handle", "HANDLE", c.handle, kPath), c.result);
  const auto after = files.files.find(std::string(kPath));
  EXPECT_EQ(after == files.files.end() ? "" : after->second, c.after);
  files.unreadable = false;
  EXPECT_EQ(read(), c.stored);
}

const std::string kUtf16Before("\xFF\xFE[\0h\0a\0n\0d\0l\0e\0]\0\n\0h\0a\0n\0d\0l\0e\0=\0\xE9\0\n\0", 38);
const std::string kUtf16After("\xFF\xFE[\0h\0a\0n\0d\0l\0e\0]\0\n\0h\0a\0n\0d\0l\0e\0=\0K\0i\0m\0\n\0", 42);
// A character beyond U+FFFF in UTF-16 (a surrogate pair), read and kept.
const std::string kUtf16Pair("\xFF\xFE[\0h\0]\0\n\0h\0=\0\x3D\xD8\x00\xDE\n\0", 20);
// UTF-16 that does not convert: half a surrogate pair, and an odd byte at the end.
const std::string kUtf16Broken("\xFF\xFE[\0h\0]\0\n\0\x00\xD8\n\0x", 15);
const std::string kX749(749, 'x');
const std::string kPlain = "[handle]\nHANDLE=Pat\n";

INSTANTIATE_TEST_SUITE_P(
    Contents, Profile,
    testing::Values(
        FileCase{"Missing", std::nullopt, "", "[handle]\r\nHANDLE=Kim\r\n"},
        FileCase{"OnlyABom", "\xEF\xBB\xBF", "", "\xEF\xBB\xBF[handle]\r\nHANDLE=Kim\r\n"},
        FileCase{"AnsiBytes", "[handle]\r\nHANDLE=Ren\xE9\r\n", "Ren\xC3\xA9", "[handle]\r\nHANDLE=Kim\r\n"},
        FileCase{"AnsiWritten", kPlain, "Pat", "[handle]\nHANDLE=Ren\xE9 ?\n", "Ren\xC3\xA9 \xE2\x98\x83",
                 "Ren\xC3\xA9 ?"},
        FileCase{"Utf8WithBom", "\xEF\xBB\xBF[handle]\nHANDLE=Ren\xC3\xA9\n", "Ren\xC3\xA9",
                 "\xEF\xBB\xBF[handle]\nHANDLE=Kim\n"},
        FileCase{"Utf8WithoutBomReadsAsAnsi", "[handle]\nHANDLE=\xC3\xA9\n", "\xC3\x83\xC2\xA9", "[handle]\nHANDLE=Kim\n"},
        FileCase{"Utf16", kUtf16Before, "\xC3\xA9", kUtf16After},
        FileCase{"OnlyAUtf16Bom", "\xFF\xFE", "", std::string("\xFF\xFE[\0h\0a\0n\0d\0l\0e\0]\0\r\0\n\0H\0A\0N\0D\0L\0E\0=\0K\0i\0m\0\r\0\n\0", 46)},
        FileCase{"Utf16SurrogatePairKept", kUtf16Pair, "", kUtf16Pair + std::string("[\0h\0a\0n\0d\0l\0e\0]\0\n\0H\0A\0N\0D\0L\0E\0=\0K\0i\0m\0\n\0", 40)},
        FileCase{"Utf16ThatDoesNotConvert", kUtf16Broken, "", kUtf16Broken, "Kim", "", WriteResult::FileUnconvertible},
        FileCase{"BinaryGarbage", std::string("\x00\x01\x02\xFF\n\n]]\x7F", 9), "",
                 std::string("\x00\x01\x02\xFF\n\n]]\x7F\n[handle]\nHANDLE=Kim\n", 30)},
        FileCase{"NulEndsTheValue", std::string("[handle]\nHANDLE=P\0t\n", 20), "P", "[handle]\nHANDLE=Kim\n"},
        FileCase{"BlanksWritten", kPlain, "Pat", "[handle]\nHANDLE=\"   \"\n", "   ", "   "},
        FileCase{"Handle749", "[handle]\nHANDLE=" + kX749 + "\n", kX749, "[handle]\nHANDLE=Kim\n"},
        FileCase{"Handle750", "[handle]\nHANDLE=" + kX749 + "y\n", kX749, "[handle]\nHANDLE=Kim\n"},
        FileCase{"Handle5000Written", kPlain, "Pat", "[handle]\nHANDLE=" + std::string(5000, 'x') + "\n",
                 std::string(5000, 'x'), kX749},
        FileCase{"Utf8HandleCutByCharacters", "\xEF\xBB\xBF[handle]\nHANDLE=" + std::string(1000, 'x') + "\n",
                 kX749, "\xEF\xBB\xBF[handle]\nHANDLE=\xC3\xA9\n", "\xC3\xA9", "\xC3\xA9"},
        FileCase{"UnreadableIsNotOverwritten", kPlain, "", kPlain, "Kim", "Pat", WriteResult::FileUnreadable, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zantic
