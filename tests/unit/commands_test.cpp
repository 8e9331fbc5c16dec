// The quick commands, the exit, and the chat commands "hide" and "show".
#include <gtest/gtest.h>

#include "core/announcement.h"
#include "core/settings.h"
#include "fakes/harness.h"

namespace zantic {
namespace {

using C = Control;
using fakes::Harness;
using fakes::Journal;

TEST(Advert, PostsCreditThenWebAddressSevenTenthsApart) {
  Harness h;
  h.form1.Click(C::Label11);
  ASSERT_EQ(h.lines.size(), 2u);
  EXPECT_EQ(h.lines[0].text, CreditLine());
  EXPECT_EQ(h.lines[1].text, WebAddressLine());
  EXPECT_DOUBLE_EQ(h.lines[1].at - h.lines[0].at, 0.7);
}

TEST(Exit, AnnouncesTheStoredHandleUnguardedSlidesOutAndEnds) {
  Harness h;
  h.StoreHandle("vorn");
  h.desktop.tops[h.form.window] = 6000;
  EXPECT_THROW(h.form1.Click(C::Label2), fakes::ProgramEnded);
  EXPECT_TRUE(h.boxes.shown.empty()) << "no rebuke on exit";
  ASSERT_EQ(h.LineTexts(), std::vector<std::string>{UnloadedByLine("vorn")});
  EXPECT_DOUBLE_EQ(h.clock.Now(), 0.4);
  EXPECT_DOUBLE_EQ(h.desktop.tops[h.form.window], 7500);
  EXPECT_EQ(h.aol.drains, std::vector<double>{2}) << "lines on their way are waited for, a little";
  EXPECT_EQ(h.journal.back(), "end");
}

TEST(Exit, DuringARunEndsWithoutTheOffIdleLine) {
  Harness h;
  h.form1.Click(C::Label4);
  h.ClickAt(30, C::Label2);
  EXPECT_THROW(h.form1.Click(C::Label7), fakes::ProgramEnded);
  EXPECT_EQ(h.LineTexts(), (std::vector<std::string>{BeganLine(), ReasonLine("reason"),
                                                      UnloadedByLine("")}));
}

struct ChatCase {
  const char* name;
  std::string speaker, text;
  Journal effect;
  bool looks_up_name;
};

class ChatCommand : public testing::TestWithParam<ChatCase> {};

TEST_P(ChatCommand, OnlyTheUsersOwnHideOrShowActs) {
  const ChatCase& c = GetParam();
  Harness h;
  const int lookups = h.desktop.find_window_calls;
  const Journal effect = h.Record([&] { h.form1.Chat1_ChatLine(c.speaker, c.text); });
  // Each posted line also looks the room up; count only the screen-name search.
  const int name_lookups = h.desktop.find_window_calls - lookups - static_cast<int>(h.lines.size());
  EXPECT_EQ(effect, c.effect);
  EXPECT_EQ(name_lookups > 0, c.looks_up_name);
}

const Journal kHidden = {"hide form", "line " + HiddenLine()};
const Journal kShown = {"show form", "line " + ShownLine()};

INSTANTIATE_TEST_SUITE_P(
    Lines, ChatCommand,
    testing::Values(ChatCase{"Hide", "Pat Doe", "hide", kHidden, true},
                    ChatCase{"HideInCapitals", "Pat Doe", "HIDE", kHidden, true},
                    ChatCase{"ShowMixedCase", "Pat Doe", "Show", kShown, true},
                    ChatCase{"BlankBefore", "Pat Doe", " hide", {}, false},
                    ChatCase{"BlankAfter", "Pat Doe", "hide ", {}, false},
                    ChatCase{"Punctuation", "Pat Doe", "hide!", {}, false},
                    ChatCase{"InASentence", "Pat Doe", "i will hide now", {}, false},
                    ChatCase{"OrdinaryLine", "Pat Doe", "brb", {}, false},
                    ChatCase{"OtherMember", "Kim Lee", "hide", {}, true},
                    ChatCase{"NameDiffersInCase", "pat doe", "hide", {}, true},
                    ChatCase{"NameWithTrailingBlank", "Pat Doe ", "show", {}, true},
                    ChatCase{"NameWithZeroWidthSpace", "Pat\xE2\x80\x8B" "Doe", "hide", {}, true},
                    ChatCase{"NoSpeaker", "", "hide", {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChatCommand, HideWhileHiddenHidesAgainAndPostsAgain) {
  Harness h;
  h.form1.Chat1_ChatLine("Pat Doe", "hide");
  h.form1.Chat1_ChatLine("Pat Doe", "hide");
  EXPECT_FALSE(h.form.form_visible);
  EXPECT_EQ(h.LineTexts(), (std::vector<std::string>{HiddenLine(), HiddenLine()}));
}

TEST(ChatCommand, NoWelcomeWindowMeansNobodyIsTheUser) {
  Harness h;
  h.desktop.Destroy(h.desktop.FindWindowExA(h.client.mdi, 0, "AOL Child", std::nullopt));
  h.form1.Chat1_ChatLine("Pat Doe", "hide");
  EXPECT_TRUE(h.form.form_visible);
}

TEST(ChatCommand, DuringARunTheConfirmationFallsBetweenItsLines) {
  Harness h;
  h.form1.Click(C::Label4);
  h.clock.At(0.3, [&] { h.form1.Chat1_ChatLine("Pat Doe", "hide"); });
  h.ClickAt(5, C::Label8);
  h.form1.Click(C::Label7);
  EXPECT_EQ(h.LineTexts(), (std::vector<std::string>{BeganLine(), HiddenLine(), ReasonLine("reason"),
                                                      OffIdleLine("", "0")}));
  EXPECT_FALSE(h.form.form_visible);
}

}  // namespace
}  // namespace zantic
