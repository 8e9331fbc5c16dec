// The panel buttons: every reachable combination of shown controls and where each button
// leads from it, and the three outcomes of "set".
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/announcement.h"
#include "core/settings.h"
#include "core/texts.h"
#include "fakes/harness.h"

namespace zantic {
namespace {

using C = Control;
using fakes::Harness;

enum Combo { Logo, Reason, Link, Other, Handle, OtherOverHandle, LogoWithOther, LogoWithHandle, NotShown };

const std::map<Combo, std::set<C>> kShown = {
    {Logo, {C::Picture1, C::Label7, C::Label8}},
    {Reason, {C::Text1, C::Label7, C::Label8}},
    {Link, {C::Text2, C::Text3, C::Label7, C::Label8}},
    {Other, {C::Label9, C::Label10, C::Label11, C::Label12, C::Label13, C::Label7, C::Label8}},
    {Handle, {C::Text1, C::Label14}},
    {OtherOverHandle, {C::Label9, C::Label10, C::Label11, C::Label12, C::Label13, C::Label14}},
    {LogoWithOther,
     {C::Picture1, C::Label9, C::Label10, C::Label11, C::Label12, C::Label13, C::Label7, C::Label8}},
    {LogoWithHandle, {C::Picture1, C::Text1, C::Label14}},
};

const std::vector<C> kButtons = {C::Label4, C::Label5, C::Label6, C::Label13, C::Label14};

// From each combination: where "reg. idle", "link idle", "other", "handle" and a "set" that
// stores a handle lead.
const std::map<Combo, std::vector<Combo>> kTransitions = {
    {Logo, {Reason, Link, Other, NotShown, NotShown}},
    {Reason, {Reason, Link, Other, NotShown, NotShown}},
    {Link, {Reason, Link, Other, NotShown, NotShown}},
    {Other, {Reason, Link, Other, Handle, NotShown}},
    {Handle, {Reason, Link, OtherOverHandle, NotShown, Logo}},
    {OtherOverHandle, {Reason, Link, OtherOverHandle, Handle, LogoWithOther}},
    {LogoWithOther, {Reason, Link, Other, LogoWithHandle, NotShown}},
    {LogoWithHandle, {Reason, Link, OtherOverHandle, NotShown, Logo}},
};

std::set<C> Shown(fakes::FakeForm& form) {
  auto v = form.ShownSwitched();
  return {v.begin(), v.end()};
}

void Arrange(Harness& h, Combo combo) {
  for (C c : {C::Picture1, C::Label7, C::Label8, C::Text1, C::Text2, C::Text3, C::Label9,
              C::Label10, C::Label11, C::Label12, C::Label13, C::Label14}) {
    h.form.SetVisible(c, kShown.at(combo).count(c) != 0);
  }
}

TEST(Panels, EveryButtonLeadsWhereTheTransitionTableSays) {
  for (auto& [from, targets] : kTransitions) {
    for (std::size_t b = 0; b < kButtons.size(); ++b) {
      Harness h;
      h.StoreHandle("Pat");
      Arrange(h, from);
      h.form.SetText(C::Text1, "Kim");
      const bool shown = h.form.IsVisible(kButtons[b]);
      ASSERT_EQ(shown, targets[b] != NotShown) << "combination " << from << ", button " << b;
      if (!shown) continue;
      h.form1.Click(kButtons[b]);
      EXPECT_EQ(Shown(h.form), kShown.at(targets[b])) << "combination " << from << ", button " << b;
    }
  }
}

TEST(Panels, ModeButtonsRefillTheirBoxesAndSetTheMode) {
  Harness h;
  h.StoreHandle("Pat Doe");
  h.form.SetText(C::Text1, "typed");
  h.form1.Click(C::Label4);
  EXPECT_EQ(h.form.GetText(C::Text1), "reason");
  EXPECT_EQ(h.form1.State().Mode, IdleMode::Regular);
  h.form.SetText(C::Text2, "typed");
  h.form.SetText(C::Text3, "typed");
  h.form1.Click(C::Label5);
  EXPECT_EQ(h.form.GetText(C::Text2), "Description");
  EXPECT_EQ(h.form.GetText(C::Text3), "URL");
  EXPECT_EQ(h.form1.State().Mode, IdleMode::Link);
  h.form1.Click(C::Label6);
  EXPECT_EQ(h.form1.State().Mode, IdleMode::Link) << "\"other\" leaves the mode";
  h.form1.Click(C::Label13);
  EXPECT_EQ(h.form.GetText(C::Text1), "Pat Doe") << "\"handle\" shows the stored handle";
}

struct SetCase {
  const char* name;
  std::string stored;  // "" = no settings file
  std::string entry;
  std::vector<std::string> boxes;
  std::vector<std::string> posted;  // handle-changed lines' handles
  std::string stored_after;
  std::string entry_after;
  bool panel_left;  // the logo panel is shown afterwards
  WriteResult writes = WriteResult::Written;
};

class SetButton : public testing::TestWithParam<SetCase> {};

TEST_P(SetButton, StoresAnnouncesOrRefuses) {
  const SetCase& c = GetParam();
  Harness h;
  if (!c.stored.empty()) h.StoreHandle(c.stored);
  h.files.writes = c.writes;
  h.form1.Click(C::Label6);
  h.form1.Click(C::Label13);
  h.form.SetText(C::Text1, c.entry);
  h.form1.Click(C::Label14);

  std::vector<std::string> boxes;
  for (auto& b : h.boxes.shown) {
    boxes.push_back(b.text);
    EXPECT_EQ(b.title, "zantic idle");
    EXPECT_EQ(b.style, 0x1040u);
  }
  EXPECT_EQ(boxes, c.boxes);
  std::vector<std::string> posted;
  for (auto& handle : c.posted) posted.push_back(HandleChangedLine(handle));
  EXPECT_EQ(h.LineTexts(), posted);
  EXPECT_EQ(ReadHandle(h.ports.settings()), c.stored_after);
  EXPECT_EQ(h.form.GetText(C::Text1), c.entry_after);
  EXPECT_EQ(Shown(h.form), kShown.at(c.panel_left ? Logo : Handle));
}

const std::string kRebuke(RebukeMessage);
const std::string kReplacement(ReplacementHandle);

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SetButton,
    testing::Values(
        SetCase{"EmptyEntryNoHandle", "", "", {"Please enter your handle first"}, {}, "", "", false},
        SetCase{"EmptyEntryRefilled", "Pat", "", {"Please enter your handle first"}, {}, "Pat", "Pat", false},
        SetCase{"NewHandle", "Pat", "Kim Lee", {}, {"Kim Lee"}, "Kim Lee", "Kim Lee", true},
        SetCase{"FirstHandleCreatesTheFile", "", "Kim", {}, {"Kim"}, "Kim", "Kim", true},
        SetCase{"OneBlankIsAHandle", "Pat", " ", {}, {" "}, " ", " ", true},
        SetCase{"MarkupStoredUnchanged", "Pat", "<b>\"x\"</b> ", {}, {"<b>\"x\"</b> "}, "<b>\"x\"</b> ", "<b>\"x\"</b> ", true},
        SetCase{"ReservedStored", "tamsel", "Kim", {kRebuke}, {}, kReplacement, kReplacement, false},
        SetCase{"ReservedTypedIsStoredUntilNextTime", "Pat", "vorn", {}, {"vorn"}, "vorn", "vorn", true},
        // A handle that was not stored is not announced; the user hears why, and the entry stays.
        SetCase{"NotStoredNotAnnounced", "Pat", "Kim",
                {"Your handle could not be saved: zantic.ini holds text that the program cannot write back "
                 "unchanged, so it leaves the file as it is."},
                {}, "Pat", "Kim", false, WriteResult::FileUnconvertible}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zantic
