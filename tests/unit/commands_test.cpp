// The quick commands, the exit, and the chat commands "hide" and "show". (A press on the
// background: the window's end-to-end drag test.)
#include <gtest/gtest.h>

#include "aol/instant_message.h"
#include "core/announcement.h"
#include "fakes/harness.h"

namespace zantic {
namespace {

using C = Control;
using fakes::Harness;
using fakes::Journal;

// A quick command: the lines it posts and when, the keyword it types and when, the box it
// shows (its text written out by hand, so a slip in the code cannot hide in a shared one).
struct QuickCase {
  const char* name;
  C label;
  std::vector<fakes::PostedLine> lines;
  std::string keyword;
  std::string box;
};

class Quick : public testing::TestWithParam<QuickCase> {};

TEST_P(Quick, PostsSwitchesAndShowsWhatItShould) {
  const QuickCase& c = GetParam();
  Harness h;
  double keyword_at = -1;
  std::string keyword;
  const auto record_lines = h.desktop.on_message;
  h.desktop.on_message = [&](const fakes::Message& m) {
    record_lines(m);
    if (m.window == h.client.keyword && m.msg == wm::kSetText) keyword_at = h.clock.Now(), keyword = m.text;
  };
  h.form1.Click(c.label);
  ASSERT_EQ(h.lines.size(), c.lines.size());
  for (std::size_t i = 0; i < c.lines.size(); ++i) {
    EXPECT_EQ(h.lines[i].text, c.lines[i].text);
    EXPECT_DOUBLE_EQ(h.lines[i].at, c.lines[i].at);
  }
  EXPECT_EQ(keyword, c.keyword);
  if (!c.keyword.empty()) {
    EXPECT_DOUBLE_EQ(keyword_at, 0.4) << "the switch follows its line, 0.4 s later";
    // The address, then a blank and Enter, as typed into the client's keyword box.
    EXPECT_EQ(h.desktop.ReceivedBy(h.client.keyword), (std::vector<fakes::Message>{fakes::SetText(h.client.keyword, c.keyword),
              fakes::Char(h.client.keyword, 32), fakes::Char(h.client.keyword, 13)}));
  }
  ASSERT_EQ(h.boxes.shown.size(), c.box.empty() ? 0u : 1u);
  if (!c.box.empty()) { EXPECT_EQ(h.boxes.shown[0].text, c.box); }
}

const std::string kSite = "www.vorn-and-tamsel.net/idlers/";

INSTANTIATE_TEST_SUITE_P(
    Commands, Quick,
    testing::Values(
        QuickCase{"Advert", C::Label11, {{0, CreditLine()}, {0.7, WebAddressLine()}}, "", ""},
        QuickCase{"ImsOn", C::Label9, {{0, ImsOnLine()}}, "aol://9293:$IM_ON", ""},
        QuickCase{"ImsOff", C::Label10, {{0, ImsOffLine()}}, "aol://9293:$IM_OFF", ""},
        QuickCase{"Greetz", C::Label12, {}, "",
                  "i just wanna say sup to tamsel. yea so anyways go check out me and tamsel's site at " + kSite +
                      "  peace -vorn"},
        QuickCase{"Help", C::Label3, {}, "",
                  "hey thanks for downloading my idler. to hide the i-face just type \"hide\" in the chat room w/o "
                  "quotes or to show the i-face just type \"show\". any other questions e-mail me at "
                  "vorn@zantic-idle.net.\r\n                            -vorn -- " + kSite}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Exit, AnnouncesTheStoredHandleUnguardedSlidesOutAndEnds) {
  Harness h;
  h.StoreHandle("vorn");
  h.own_window.tops[h.form.window] = 6000;
  EXPECT_THROW(h.form1.Click(C::Label2), fakes::ProgramEnded);
  EXPECT_TRUE(h.boxes.shown.empty()) << "no rebuke on exit";
  ASSERT_EQ(h.LineTexts(), std::vector<std::string>{UnloadedByLine("vorn")});
  EXPECT_DOUBLE_EQ(h.clock.Now(), 0.4);
  EXPECT_DOUBLE_EQ(h.own_window.tops[h.form.window], 7500);
  EXPECT_EQ(h.aol.drains, std::vector<double>{2}) << "lines on their way are waited for, a little";
  EXPECT_EQ(h.journal.back(), "end");
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
    testing::Values(ChatCase{"HideInCapitals", "Pat Doe", "HIDE", kHidden, true},
                    ChatCase{"ShowMixedCase", "Pat Doe", "Show", kShown, true},
                    ChatCase{"BlankAfter", "Pat Doe", "hide ", {}, false},
                    ChatCase{"ShorterOrOther", "Pat Doe", "hid", {}, false},
                    ChatCase{"SameLength", "Pat Doe", "side", {}, false},
                    ChatCase{"InASentence", "Pat Doe", "i will hide now", {}, false},
                    ChatCase{"OtherMember", "Kim Lee", "hide", {}, true},
                    ChatCase{"NameDiffersInCase", "pat doe", "hide", {}, true},
                    ChatCase{"NameWithTrailingBlank", "Pat Doe ", "show", {}, true},
                    ChatCase{"NoSpeaker", "", "hide", {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zantic
