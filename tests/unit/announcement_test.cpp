#include "core/announcement.h"

#include <gtest/gtest.h>


namespace zantic {
namespace {

// The header written out by hand, so a slip in the code cannot hide in a shared constant.
const std::string kHeader =
    R"(<font color="#FF8000"><font face="Wingdings">b<font face="Arial Narrow">< a href=")"
    R"(http://www.zantic-idle.net/"></u><font color="#0080C0"> zantic idle</a>)";

struct LineCase {
  const char* kind;
  std::string line;
  std::string tail;
};

class LineKinds : public testing::TestWithParam<LineCase> {};

TEST_P(LineKinds, AreTheHeaderFollowedByTheirExactTail) {
  EXPECT_EQ(GetParam().line, kHeader + GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, LineKinds,
    testing::Values(
        LineCase{"loaded", LoadedByLine("Pat"),
                 R"(<font color="#FF8000"> loaded by <font color="#0080FF">Pat)"},
        LineCase{"unloaded", UnloadedByLine("Pat"),
                 R"(<font color="#FF8000"> unloaded by <font color="#0080FF">Pat)"},
        LineCase{"hidden", HiddenLine(),
                 R"(<font color="#FF8000"> i-face has been <font color="#0080FF">hidden)"},
        LineCase{"shown", ShownLine(),
                 R"(<font color="#FF8000"> i-face has been <font color="#0080FF">shown)"},
        LineCase{"imsoff", ImsOffLine(), R"(<font color="#FF8000"> ims now <font color="#0080FF">off)"},
        LineCase{"imson", ImsOnLine(), R"(<font color="#FF8000"> ims now <font color="#0080FF">on)"},
        LineCase{"credit", CreditLine(), R"(<font color="#FF8000"> by <font color="#0080FF">vorn)"},
        LineCase{"web", WebAddressLine(), R"(<font color="#FF8000"> www.zantic-idle.net/)"},
        LineCase{"handle", HandleChangedLine("Pat Doe"),
                 R"(<font color="#FF8000"> handle changed to <font color="#0080FF">Pat Doe)"},
        LineCase{"began", BeganLine(),
                 R"(<font color="#FF8000"> just<font color="#0080FF"> began <font color="#FF8000">to idle)"},
        LineCase{"reason", ReasonLine("lunch"),
                 R"(<font color="#FF8000"> rsn: <font color="#0080FF">lunch)"},
        LineCase{"firstlink", FirstLinkLine("http://x.example/a b", "my page"),
                 R"(<font color="#FF8000"><font color="#FF8000"> rsn: < a href=http://x.example/a b>)"
                 R"(<font color="#008040"></u>my page</a>)"},
        LineCase{"link", LinkLine("http://x.example/", "my page"),
                 R"(<font color="#FF8000"> rsn: < a href=http://x.example/><font color="#008040"></u>my page</a>)"},
        LineCase{"minute10", MinuteLine("10"), R"(<font color="#FF8000"> 10<font color="#0080FF"> minute(s).)"},
        LineCase{"offidle", OffIdleLine("Pat", "0"),
                 R"(<font color="#0080FF"> Pat<font color="#FF8000"> is off idle after <font color="#0080FF">0)"
                 R"(<font color="#FF8000"> minute(s))"},
        // Empty variable parts leave the tags in place.
        LineCase{"offidle-empty", OffIdleLine("", "3"),
                 R"(<font color="#0080FF"> <font color="#FF8000"> is off idle after <font color="#0080FF">3)"
                 R"(<font color="#FF8000"> minute(s))"},
        // Hostile parts go in unchanged: markup, quotes, blanks.
        LineCase{"reason-markup", ReasonLine(R"( <b>"x"</b> & 'y' )"),
                 R"(<font color="#FF8000"> rsn: <font color="#0080FF"> <b>"x"</b> & 'y' )"}),
    [](const testing::TestParamInfo<LineCase>& info) {
      std::string name = info.param.kind;
      for (char& c : name) if (c == '-') c = '_';
      return name;
    });

}  // namespace
}  // namespace zantic
