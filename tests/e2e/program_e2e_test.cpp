// The whole program against the stand-in, worked as a person works it: clicks on its
// labels, text typed into its boxes, its message boxes read and answered. What reached the
// chat room, and when, is read from the stand-in's log.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/announcement.h"
#include "core/settings.h"
#include "drive/program.h"
#include "drive/sim.h"
#include "ui/form1.h"

namespace {

using namespace std::chrono;
using namespace drive;
namespace z = zantic;
using Texts = std::vector<std::string>;

// Two events of the log lie the program's pause apart (in milliseconds of the stand-in's
// clock, which is the program's too): less only by the few milliseconds by which the first
// one's trip through the send queue may take longer than the second's, and more only by
// what delivering the second one takes on a loaded machine (up to 111 ms measured with
// both cores busy).
testing::AssertionResult Paused(double pause, const Event& from, const Event& to) {
  const double gap = to.t() - from.t();
  if (gap >= pause - 5 && gap <= pause + 150) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "a gap of " << gap << " ms after a pause of " << pause;
}

// The stand-in, and the program beside it once it has announced itself with no handle.
class ProgramE2E : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.Ready());
    ASSERT_TRUE(program.Ready());
    ASSERT_TRUE(sim.WaitForChat(z::LoadedByLine("")));
  }
  // Waits for the line that follows `after`.
  Event Next(const Event& after, const std::string& text) {
    auto e = sim.WaitForAfter(after.t(), "chat", "text", text);
    return e ? *e : Event{};
  }
  Sim sim;
  Program program;
};

TEST(ProgramStartUp, AnnouncesTheStoredHandleAndGuardsTheReservedOnes) {
  const std::string replacement(z::ReplacementHandle), long_handle(800, 'h');
  struct Case {
    const char* name;
    std::string file;
    std::string handle;   // the loaded-by line's
    std::string guarded;  // the file after the rebuke; empty: no rebuke, the file unchanged
  };
  const Case cases[] = {
      {"reserved, hand-written", "[HANDLE]\nhandle=tamsel\n", replacement,
       "[HANDLE]\nhandle=" + replacement + "\n"},
      {"another case is no reserved handle", "[handle]\r\nHANDLE=Vorn\r\n", "Vorn", ""},
      {"800 characters", "[handle]\r\nHANDLE=" + long_handle + "\r\n", long_handle.substr(0, 749), ""},
  };
  Sim sim;
  ASSERT_TRUE(sim.Ready());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int before = static_cast<int>(sim.ChatLines().size());
    Program program({L"", c.file, false});
    if (!c.guarded.empty()) {
      HWND box = WaitForBox();
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(BoxText(box), z::RebukeMessage);
      EXPECT_FALSE(program.WaitShown(milliseconds(0))) << "the window waits for the box";
      EXPECT_EQ(static_cast<int>(sim.ChatLines().size()), before) << "so does the line";
      ASSERT_TRUE(AnswerBox(box));
    }
    ASSERT_TRUE(program.WaitShown());
    auto line = sim.WaitForEvent([](const Event& e) { return e.event() == "chat"; }, before + 1);
    ASSERT_TRUE(line);
    EXPECT_EQ((*line)["text"], z::LoadedByLine(c.handle));
    EXPECT_EQ(FindWindowW(L"#32770", L"zantic idle"), nullptr);
    EXPECT_EQ(ReadFileBytes(program.SettingsPath()).value_or(""), c.guarded.empty() ? c.file : c.guarded);
  }
}

TEST_F(ProgramE2E, SetAnnouncesAndStoresTheTypedHandleAndRefusesAnEmptyOne) {
  for (const std::string typed : {"Kim Lee", ""}) {
    program.Click(Control::Label6);   // other
    program.Click(Control::Label13);  // handle
    program.Type(Control::Text1, typed);
    program.Click(Control::Label14);  // set
    if (typed.empty()) {
      HWND box = WaitForBox();
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(BoxText(box), "Please enter your handle first");
      ASSERT_TRUE(AnswerBox(box));
    } else {
      ASSERT_TRUE(sim.WaitForChat(z::HandleChangedLine(typed)));
    }
    // Written as the program writes the file: the section in lower case, the key in upper.
    EXPECT_TRUE(WaitUntil([&] {
      return ReadFileBytes(program.SettingsPath()) == "[handle]\r\nHANDLE=Kim Lee\r\n";
    }));
  }
  EXPECT_TRUE(WaitUntil([&] { return program.Text(Control::Text1) == "Kim Lee"; }))
      << "the refused entry holds the stored handle again";
  EXPECT_EQ(sim.ChatTexts(), (Texts{z::LoadedByLine(""), z::HandleChangedLine("Kim Lee")}));
}

TEST_F(ProgramE2E, OneRunAtATimeWhateverStartMeetsInTheGapsOfARun) {
  program.Click(Control::Label5);  // link idle
  program.Type(Control::Text2, "my page");
  program.Type(Control::Text3, "http://example.net/");
  program.Click(Control::Label7);  // Start
  auto began = sim.WaitForChat(z::BeganLine());
  ASSERT_TRUE(began);
  program.Click(Control::Label7);  // Start again, inside the 1.3 s before the first link line
  const Event link = Next(*began, z::FirstLinkLine("http://example.net/", "my page"));
  EXPECT_TRUE(Paused(1300, *began, link));
  // Stop well inside the first second of counting, then the URL box emptied and Start
  // pressed before the run has noticed: no second run, no refusal either.
  program.Click(Control::Label8);
  program.SetText(Control::Text3, "");
  program.Click(Control::Label7);
  const Event off = Next(link, z::OffIdleLine("", "0"));
  EXPECT_TRUE(Paused(1000, link, off)) << "the run ends after its current second";
  EXPECT_EQ(FindWindowW(L"#32770", L"zantic idle"), nullptr);
  EXPECT_EQ(sim.ChatTexts(), (Texts{z::LoadedByLine(""), z::BeganLine(),
                                    z::FirstLinkLine("http://example.net/", "my page"),
                                    z::OffIdleLine("", "0")}));
  // Once the run is over, the same Start is refused as ever.
  program.Click(Control::Label7);
  HWND box = WaitForBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "you need to fill in all boxes");
  EXPECT_TRUE(AnswerBox(box));
}

TEST_F(ProgramE2E, QuickCommandsPostTheirLinesShowTheirTextsAndSwitchIms) {
  program.Click(Control::Label6);  // other
  // The user has begun a sentence in the room's entry box, and double-clicks "adv": one
  // advert, and the sentence is there again afterwards, caret at its end.
  const std::string draft = "brb, my caf\xC3\xA9 is";
  ASSERT_TRUE(sim.Control("type-draft " + draft));
  XClick(program.CentreOf(Control::Label11), 2);
  auto credit = sim.WaitForChat(z::CreditLine());
  ASSERT_TRUE(credit);
  EXPECT_TRUE(Paused(700, *credit, Next(*credit, z::WebAddressLine())));
  ASSERT_TRUE(sim.Control("entry"));
  auto entry = sim.WaitFor("entry");
  ASSERT_TRUE(entry);
  EXPECT_EQ((*entry)["text"], draft);
  EXPECT_EQ((*entry)["sel_from"], "15");
  EXPECT_EQ((*entry)["sel_to"], "15");

  // "greetz" and "?" show their boxes (their texts: the unit tests) and post nothing.
  for (Control label : {Control::Label12, Control::Label3}) EXPECT_LT(program.ClickForBox(label), seconds(5));

  struct Switch {
    Control label;
    std::string line, recipient, reason;
  };
  const Switch switches[] = {{Control::Label10, z::ImsOffLine(), "$IM_OFF", "im_off"},
                             {Control::Label9, z::ImsOnLine(), "$IM_ON", "im_on"}};
  for (const Switch& s : switches) {
    SCOPED_TRACE(s.recipient);
    program.Click(s.label);
    auto line = sim.WaitForChat(s.line);
    ASSERT_TRUE(line);
    auto keyword = sim.WaitForAfter(line->t(), "keyword", "keyword", "aol://9293:" + s.recipient);
    ASSERT_TRUE(keyword);
    EXPECT_TRUE(Paused(400, *line, *keyword));
    auto sent = sim.WaitForAfter(keyword->t(), "im_sent", "recipient", s.recipient);
    ASSERT_TRUE(sent);
    EXPECT_EQ((*sent)["text"], "=)");
    // The client's box is answered and its window closed.
    auto shown = sim.WaitForAfter(sent->t(), "msgbox_shown", "reason", s.reason);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(sim.WaitForAfter(shown->t(), "msgbox_answered", "id", (*shown)["id"]));
    EXPECT_TRUE(sim.WaitForAfter(sent->t(), "im_closed", "recipient", s.recipient));
  }
  // Two lines for "adv", none for the boxes.
  EXPECT_EQ(sim.ChatTexts(), (Texts{z::LoadedByLine(""), z::CreditLine(), z::WebAddressLine(),
                                    z::ImsOffLine(), z::ImsOnLine()}));
}

TEST_F(ProgramE2E, XDuringARunSlidesTheWindowOutAndEndsWithoutTheOffIdleLine) {
  program.Click(Control::Label4);  // reg. idle
  program.Type(Control::Text1, "lunch");
  program.Click(Control::Label7);  // Start
  auto began = sim.WaitForChat(z::BeganLine());
  ASSERT_TRUE(began);
  EXPECT_TRUE(Paused(700, *began, Next(*began, z::ReasonLine("lunch"))));

  // Dragged up first, so the slide has a way to go: it moves the window down 300 twips at
  // a time until its top is past 7200 twips, and the program ends.
  const POINT grip = program.At(2700, 120);
  Drag(grip, POINT{grip.x, grip.y - Px(4500)}, Button::Left);
  const int top = program.Rect().top;
  ASSERT_LT(top, Px(7200) - Px(3000));
  TopWatcher watcher(program.Window());
  program.Click(Control::Label2);  // X
  ASSERT_TRUE(sim.WaitForChat(z::UnloadedByLine("")));
  const std::vector<int> tops = watcher.Tops();
  EXPECT_TRUE(program.Ended());
  // Seen a few times on its way (the watcher may miss some steps, the last one included).
  ASSERT_GE(tops.size(), 4u);
  EXPECT_EQ(tops.front(), top);
  for (std::size_t i = 1; i < tops.size(); ++i) {
    EXPECT_GT(tops[i], tops[i - 1]);
    EXPECT_EQ((tops[i] - top) % Px(300), 0) << tops[i];
  }
  EXPECT_LE(tops.back(), Px(7200) + Px(300));
  for (const std::string& text : sim.ChatTexts())
    EXPECT_NE(text, z::OffIdleLine("", "0")) << "the run was dropped";
}

TEST_F(ProgramE2E, HideAndShowObeyTheUserAlone) {
  struct Step {
    const char* speaker;
    const char* text;
    std::string answer;  // the program's line, if any
    bool visible;
  };
  const Step steps[] = {{"Kim Lee", "hide", "", true},
                        {"Pat Doe", "HIDE", z::HiddenLine(), false},
                        {"Kim Lee", "show", "", false},
                        {"pat doe", "show", "", false},
                        {"Pat Doe", "Show", z::ShownLine(), true}};
  Texts expected = sim.ChatTexts();
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.speaker) + ": " + s.text);
    ASSERT_TRUE(sim.Say(s.speaker, s.text));
    expected.push_back(s.text);
    if (!s.answer.empty()) expected.push_back(s.answer);
    // A step without an answer is confirmed by the next step's: lines are taken in order.
    EXPECT_TRUE(WaitUntil([&] { return sim.ChatTexts() == expected; }));
    EXPECT_EQ(IsWindowVisible(program.Window()) != FALSE, s.visible);
  }
}

}  // namespace
