// Reading and writing the handle entry without disturbing the rest of the file.
#include "core/ini_text.h"

#include <gtest/gtest.h>

namespace zantic {
namespace {

struct ReadCase {
  const char* name;
  std::string text;
  std::optional<std::string> value;
};

class IniRead : public testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsTheFirstEntryAsTheProfileCallsDo) {
  EXPECT_EQ(FindIniValue(GetParam().text, "handle", "handle"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniRead,
    testing::Values(
        ReadCase{"Written", "[handle]\r\nHANDLE=Pat Doe\r\n", "Pat Doe"},
        ReadCase{"HandWrittenOtherCase", "[HANDLE]\nhandle=Pat\n", "Pat"},
        ReadCase{"BlanksAroundNamesAndValue", "  [ handle ] \n\t handle\t= Pat Doe \n", "Pat Doe"},
        ReadCase{"Quoted", "[handle]\nhandle=\"  Pat \"\n", "  Pat "},
        ReadCase{"SingleQuoted", "[handle]\nhandle='Pat'\n", "Pat"},
        ReadCase{"UnmatchedQuote", "[handle]\nhandle=\"Pat\n", "\"Pat"},
        ReadCase{"Empty", "[handle]\nhandle=\n", ""},
        ReadCase{"OnlyBlanks", "[handle]\nhandle=   \n", ""},
        ReadCase{"FirstSectionFirstKey", "[handle]\nhandle=A\nhandle=B\n[handle]\nhandle=C\n", "A"},
        ReadCase{"KeyInASecondSameSectionIsNotSeen", "[handle]\nx=1\n[handle]\nhandle=C\n", std::nullopt},
        ReadCase{"OtherSection", "[other]\nhandle=X\n", std::nullopt},
        ReadCase{"NamesThatNearlyMatch", "[xandle]\nhandle=1\n[hand]\nhandle=2\n[handle]\nhandel=3\nhand=4\n", std::nullopt},
        ReadCase{"NoClosingBracket", "[handle\nhandle=X\n", std::nullopt},
        ReadCase{"QuotedEmpty", "[handle]\nhandle=\"\"\n", ""},
        ReadCase{"NoSection", "handle=X\n", std::nullopt},
        ReadCase{"NoFinalBreak", "[handle]\nhandle=Pat", "Pat"},
        ReadCase{"EqualsInValue", "[handle]\nhandle=a=b\n", "a=b"},
        ReadCase{"CommentIsNotAKey", "[handle]\n;handle=old\nhandle=new\n", "new"},
        ReadCase{"Garbage", std::string("\x00\xff[\n]]==\r\r\n[handle\n", 19), std::nullopt},
        ReadCase{"NulInValue", std::string("[handle]\nhandle=P\0t\n", 20), std::string("P\0t", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
  const char* name;
  std::string before;
  std::string after;
};

class IniWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyTheValueOrAddsTheEntry) {
  EXPECT_EQ(SetIniValue(GetParam().before, "handle", "HANDLE", "Kim"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniWrite,
    testing::Values(
        WriteCase{"NewFile", "", "[handle]\r\nHANDLE=Kim\r\n"},
        WriteCase{"ReplaceKeepsEverythingElse",
                  "; mine\n[other]\nx = 1\n\n[Handle]\n handle = \"Pat\" \n[z]\ny=2",
                  "; mine\n[other]\nx = 1\n\n[Handle]\n handle =Kim\n[z]\ny=2"},
        WriteCase{"CrLfKept", "[handle]\r\nHANDLE=Pat\r\n", "[handle]\r\nHANDLE=Kim\r\n"},
        WriteCase{"AddKeyToSectionInItsLineEndings", "[handle]\nx=1\n[z]\n", "[handle]\nx=1\nHANDLE=Kim\n[z]\n"},
        WriteCase{"AddKeyAfterLastLineWithoutBreak", "[handle]\nx=1", "[handle]\nx=1\nHANDLE=Kim\n"},
        WriteCase{"AddSectionAfterTextWithoutBreak", "[z]\r\ny=2", "[z]\r\ny=2\r\n[handle]\r\nHANDLE=Kim\r\n"},
        WriteCase{"OnlyTheFirstOfDuplicates", "[handle]\nHANDLE=A\n[handle]\nHANDLE=B\n",
                  "[handle]\nHANDLE=Kim\n[handle]\nHANDLE=B\n"},
        WriteCase{"BomAndBinaryBytesSurvive", std::string("\xEF\xBB\xBF\x01\x00\xFE\n[handle]\nHANDLE=\xE9\n", 25),
                  std::string("\xEF\xBB\xBF\x01\x00\xFE\n[handle]\nHANDLE=Kim\n", 27)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniWrite, LineBreaksInAValueCannotAddLines) {
  const std::string after = SetIniValue("[handle]\nHANDLE=a\n", "handle", "HANDLE", "x\r\n[evil]\nk=v");
  EXPECT_EQ(after, "[handle]\nHANDLE=x  [evil] k=v\n");
  EXPECT_EQ(FindIniValue(after, "evil", "k"), std::nullopt);
}

TEST(IniWrite, WhatIsWrittenReadsBackExactly) {
  for (const char* value : {"Pat", " lead", "trail ", " ", "\"q\"", "'q'", "\"\"", "''", "\"", "", "a=b", "[x]", "a \"b\" c"}) {
    const std::string text = SetIniValue("[z]\nx=1\n", "handle", "HANDLE", value);
    EXPECT_EQ(SetIniValue(text, "handle", "HANDLE", value), text) << value;
    EXPECT_EQ(FindIniValue(text, "handle", "handle"), value) << text;
  }
}

}  // namespace
}  // namespace zantic
