// The chat scanner's decisions: which lines of a transcript that grows at the bottom and
// drops lines off the top are new, and when the scanner looks at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "aol/room_scanner.h"
#include "aol/transcript.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_transcript.h"
#include "platform/text.h"

namespace zantic {
namespace {

using fakes::FakeTranscript;

std::vector<std::string> Texts(const std::vector<ChatLineReport>& reports) {
  std::vector<std::string> out;
  for (auto& r : reports) out.push_back(r.speaker + ":\t" + r.text);
  return out;
}

// A look preceded by what happens in the room since the last one: lines already read
// changed in place (counted from the end, 1 the last), then lines said.
struct Look {
  std::vector<std::string> said;
  std::vector<std::string> reported;
  enum Event { None, Cleared, Unreadable, OtherRoom, NoRoom, NotWhole } event = None;
  std::vector<std::pair<std::size_t, std::string>> changed = {};
};

struct TrackCase {
  const char* name;
  std::size_t cap;
  std::vector<Look> looks;  // the first look's lines are history
};

class Tracker : public testing::TestWithParam<TrackCase> {};

TEST_P(Tracker, ReportsEveryNewLineOnceAndNoHistory) {
  FakeTranscript room(GetParam().cap);
  TranscriptTracker tracker;
  int n = 0;
  for (const Look& look : GetParam().looks) {
    room.readable = look.event != Look::Unreadable;
    room.gone = look.event == Look::NoRoom;
    room.whole = look.event != Look::NotWhole;
    if (look.event == Look::Cleared) room.Clear();
    if (look.event == Look::OtherRoom) room.window += 4;
    for (auto& [from_end, line] : look.changed) room.Change(from_end, line);
    for (auto& line : look.said) room.Say(line);
    EXPECT_EQ(Texts(tracker.Poll(room)), look.reported) << "look " << n;
    ++n;
  }
}

using L = Look;
const std::string kDrawn = " \xEF\xBF\xBC";  // a smiley drawn as a picture reads U+FFFC
INSTANTIATE_TEST_SUITE_P(
    Rooms, Tracker,
    testing::Values(
        TrackCase{"HistoryThenNewLinesOnce", 1000,
                  {L{{"Kim:\told news"}, {}}, L{{"Pat:\thide", "Pat:\thide", "Kim:\tyou hid"}, {"Pat:\thide", "Pat:\thide", "Kim:\tyou hid"}},
                   L{{}, {}}}},
        TrackCase{"Cleared", 1000, {L{{"Kim:\tbefore"}, {}}, L{{}, {}, L::Cleared}, L{{"Pat:\tshow"}, {"Pat:\tshow"}}}},
        TrackCase{"ClearedThenNewLinesInOneLook", 1000,
                  {L{{"K:\ta", "K:\tb", "K:\tc"}, {}}, L{{"Pat:\tshow", "K:\td"}, {"Pat:\tshow", "K:\td"}, L::Cleared}}},
        TrackCase{"AnUnreadableLookCatchesUpLater", 1000,
                  {L{{"Kim:\told"}, {}}, L{{"Kim:\ta"}, {}, L::Unreadable}, L{{"Kim:\tb"}, {"Kim:\ta", "Kim:\tb"}}}},
        TrackCase{"ANewRoomIsHistory", 1000,
                  {L{{}, {}}, L{{}, {}, L::NoRoom}, L{{"Kim:\tsaid before we looked"}, {}, L::OtherRoom},
                   L{{"Kim:\tsaid after"}, {"Kim:\tsaid after"}}}},
        TrackCase{"ANewRoomWhoseFirstReadFails", 1000,
                  {L{{}, {}}, L{{"Kim:\tthere"}, {}, L::Unreadable}, L{{}, {}, L::OtherRoom}, L{{"Kim:\tnew"}, {"Kim:\tnew"}}}},
        // The room lacked a part for a look or two: the same transcript goes on from its place.
        TrackCase{"ARoomThatComesBackIsTheSameRoom", 1000,
                  {L{{"Kim:\told"}, {}}, L{{"Pat:\thide"}, {}, L::NoRoom}, L{{"Kim:\tsaid"}, {}, L::NotWhole},
                   L{{"Kim:\tafter"}, {"Pat:\thide", "Kim:\tsaid", "Kim:\tafter"}}}},
        // A line that begins as the one before did, in a room that keeps two lines.
        TrackCase{"LinesThatBeginAlike", 2, {L{{"K:\t0", "Kim:\thi"}, {}}, L{{"Kim:\thi!"}, {"Kim:\thi!"}}, L{{}, {}}}},
        TrackCase{"TheFirstLineReadDropsOffAndTheLastIsSaidAgain", 3,
                  {L{{"K:\ta", "K:\tb"}, {}}, L{{"K:\tb", "K:\tc"}, {"K:\tb", "K:\tc"}}}},
        TrackCase{"OneLetterSpeaker", 1000, {L{{}, {}}, L{{"A:\thi"}, {"A:\thi"}}}},
        // Lines already read, changed in place by the client: never reported again.
        TrackCase{"ASmileyDrawnInTheLastLineRead", 1000,
                  {L{{"Kim:\thi", "Pat:\thide", "Sam:\tlol :)"}, {}}, L{{"Jo:\tnew"}, {"Jo:\tnew"}, L::None, {{1, "Sam:\tlol" + kDrawn}}}}},
        TrackCase{"ASmileyDrawnInAMiddleLineOfTheAnchor", 1000,
                  {L{{"Kim:\ta", "Sam:\tb :)", "Pat:\thide", "Jo:\tc"}, {}},
                   L{{"Jo:\tnew"}, {"Jo:\tnew"}, L::None, {{3, "Sam:\tb" + kDrawn}}}, L{{}, {}}}},
        TrackCase{"AReplacedLine", 1000,
                  {L{{"Kim:\ta", "Sam:\tb", "Jo:\tc"}, {}}, L{{"Jo:\tnew"}, {"Jo:\tnew"}, L::None, {{2, "OnlineHost:\tremoved"}}}}},
        // The lines on both sides of the user's "hide" change: it is the one that still stands.
        TrackCase{"TheUsersOldHideChangedNearby", 1000,
                  {L{{"Kim:\ta :)", "Pat:\thide", "Kim:\tb :)"}, {}},
                   L{{"Pat:\tshow"}, {"Pat:\tshow"}, L::None, {{1, "Kim:\tb" + kDrawn}, {3, "Kim:\ta" + kDrawn}}}}},
        // Nothing read stands as it was: taken as read, the new line with it.
        TrackCase{"EveryRememberedLineChanged", 1000,
                  {L{{"Kim:\ta :)", "Pat:\thide :)"}, {}},
                   L{{"Jo:\tnew"}, {}, L::None, {{1, "Pat:\thide" + kDrawn}, {2, "Kim:\ta" + kDrawn}}}, L{{"Jo:\tlater"}, {"Jo:\tlater"}}}},
        TrackCase{"ChangesWhileLinesDropOffTheTop", 5,
                  {L{{"K:\t1", "K:\t2", "K:\t3 :)", "K:\t4"}, {}}, L{{"K:\t5", "K:\t6"}, {"K:\t5", "K:\t6"}, L::None, {{2, "K:\t3" + kDrawn}}}}},
        // More lines than the room keeps, between two looks: nothing read is left to tell
        // them from the room's lines rewritten in place.
        TrackCase{"MoreThanTheRoomKeeps", 5,
                  {L{{"Kim:\tseen"}, {}}, L{{"K:\t0", "K:\t1", "K:\t2", "K:\t3", "K:\t4", "K:\t5", "K:\t6"}, {}}, L{{"K:\t7"}, {"K:\t7"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Tracker, ReadingCostFollowsTheNewLinesNotTheHistory) {
  std::vector<std::size_t> cost;
  for (int history : {1000, 100000}) {
    FakeTranscript room(static_cast<std::size_t>(history));
    for (int i = 0; i < history; ++i) room.Say("Kim:\thistory line " + std::to_string(i));
    TranscriptTracker tracker;
    tracker.Poll(room);
    for (int i = 0; i < 10; ++i) room.Say("Kim:\tnew " + std::to_string(i));
    EXPECT_EQ(tracker.Poll(room).size(), 10u);
    cost.push_back(tracker.last_read_chars());
  }
  EXPECT_GT(cost[0], 0u);
  EXPECT_EQ(cost[0], cost[1]);
  EXPECT_LT(cost[1], 2 * TranscriptTracker::kFirstSearch);
}

// Random traffic, looked at now and then. Repeated lines (every other line the same, on
// average) are told apart as long as the lines read last are still in the transcript, also
// when the client draws a smiley in one of them before every other look; distinct lines
// even when all but one of the lines read last have dropped off the top. A room without a
// limit growing fast, too.
TEST(Tracker, RandomTrafficIsReportedExactly) {
  struct Traffic {
    std::size_t cap, most_per_look;
    bool repeats, changes = false;
    int looks = 3000;
  };
  std::mt19937 random(7);
  for (Traffic t : {Traffic{200, 150, true, true}, Traffic{30, 5, true}, Traffic{20, 19, false},
                    Traffic{1000000, 80, false, false, 60}}) {
    FakeTranscript room(t.cap);
    TranscriptTracker tracker;
    tracker.Poll(room);
    std::vector<std::string> said, reported;
    for (int step = 0; step < t.looks; ++step) {
      if (t.changes && said.size() > 3 && random() % 2 == 0) {
        const std::size_t from_end = 1 + random() % 3;  // one of the last lines read
        room.Change(from_end, said[said.size() - from_end] + " \xEF\xBF\xBC");
      }
      for (std::size_t i = random() % t.most_per_look; i > 0; --i) {
        said.push_back(t.repeats && random() % 2 == 0 ? "Pat:\thide" : "Kim:\tline " + std::to_string(said.size()));
        room.Say(said.back());
      }
      for (auto& line : Texts(tracker.Poll(room))) reported.push_back(line);
    }
    EXPECT_TRUE(reported == said) << "cap " << t.cap << ": " << reported.size() << " reported, " << said.size() << " said";
  }
}

TEST(ParseTranscriptLines, SplitsParagraphsAtTheFirstSeparator) {
  const std::pair<std::u16string, std::vector<std::string>> cases[] = {
      {u"Pat:\thi", {"Pat:\thi"}},
      {u"\rPat:\thi\r\nKim:\tho\r", {"Pat:\thi", "Kim:\tho"}},
      {u"Pat:\ta:\tb", {"Pat:\ta:\tb"}},
      {u"OnlineHost says hello\r:\tno speaker\rPat:\t", {"Pat:\t"}},
      {u"", {}},
      {u"Pat \u00e9:\t\u263a \xD800x", {"Pat \xC3\xA9:\t\xE2\x98\xBA \xEF\xBF\xBDx"}},
  };
  for (auto& [text, lines] : cases) EXPECT_EQ(Texts(ParseTranscriptLines(text)), lines);
}

// --- When the scanner looks, and what a failed read does ---------------------------------

struct Room {
  fakes::FakeDesktop d;
  fakes::FakeDesktop::Client client = d.AddClientWithRoom();
  RoomScanner scanner{d};
  Room() { scanner.Look(); }
  void Say(const std::string& line) {
    const std::string text = d.Caption(client.transcript);
    d.SetCaption(client.transcript, text.empty() ? line : text + "\r" + line);
  }
};

// Every tick looks; what it finds sets the sleep to the next one.
TEST(Pace, QuickWhileTheUserIsThereOrTheRoomIsBusyElseSlow) {
  struct PaceCase {
    const char* name;
    std::uint32_t at, input;  // the tick, and the user's last input (nobody since t = 0)
    bool line;                // a line said before it
    std::uint32_t next;
  };
  constexpr std::uint32_t kT = 100000;
  const PaceCase cases[] = {
      {"AQuietRoomNobodyThere", kT, 0, false, RoomScanner::kQuietTickMs},
      {"ALineSaid", kT + 3000, 0, true, RoomScanner::kTickMs},
      {"AndMoreLinesAtTheNextLook", kT + 3150, 0, true, RoomScanner::kTickMs},
      {"ThenALookThatFindsNothing", kT + 3300, 0, false, RoomScanner::kQuietTickMs},
      {"TheUsersInputFourSecondsAgo", kT + 30000, kT + 26000, false, RoomScanner::kInputTickMs},
      {"AndInARoomThatIsBusyToo", kT + 30100, kT + 26000, true, RoomScanner::kInputTickMs},
      {"TheUserGoneForFiveSeconds", kT + 31010, kT + 26000, true, RoomScanner::kTickMs},
      {"AndTheRoomQuietToo", kT + 31160, kT + 26000, false, RoomScanner::kQuietTickMs},
  };
  Room room;
  for (const PaceCase& c : cases) {
    if (c.line) room.Say("Kim:\tsomething new");
    EXPECT_EQ(room.scanner.Tick(c.at, c.input).size(), c.line ? 1u : 0u) << c.name << ": every tick looks";
    EXPECT_EQ(room.scanner.NextTickMs(), c.next) << c.name;
  }
}

// What keeps a quiet look cheap: a room that reads well is not searched for again until
// the full search is due.
TEST(Scanner, ARoomThatReadsWellIsSearchedForOnlyNowAndThen) {
  Room room;
  const int searches = room.d.find_window_calls;
  for (int i = 0; i < 2 * ChatRoomWatch::kLooksPerSearch; ++i) room.scanner.Look();
  EXPECT_EQ(room.d.find_window_calls - searches, 2);
}

TEST(Scanner, ARoomThatCannotBeReadOrIsNotWholeIsLookedForAgainAndMissesNothing) {
  Room room;
  room.d.unreadable.insert(room.client.transcript);
  room.Say("Pat Doe:\thide");
  EXPECT_TRUE(room.scanner.Look().empty());
  room.d.unreadable.clear();
  EXPECT_EQ(Texts(room.scanner.Look()), std::vector<std::string>{"Pat Doe:\thide"});
  // Its member list goes for a while: no chat room, so nothing is reported (an answer could
  // not reach it), until it is whole again.
  const Hwnd members = room.d.FindWindowExA(room.client.room, kNoWindow, "_AOL_Listbox", std::nullopt);
  room.d.Destroy(members);
  room.Say("Pat Doe:\tshow");
  EXPECT_TRUE(room.scanner.Look().empty());
  room.Say("Kim:\tmeanwhile");
  EXPECT_TRUE(room.scanner.Look().empty());
  room.d.AddChild(room.client.room, "_AOL_Listbox");
  EXPECT_EQ(Texts(room.scanner.Look()), (std::vector<std::string>{"Pat Doe:\tshow", "Kim:\tmeanwhile"}));
  // The room keeps its window but gets a new transcript: the scanner finds it.
  room.d.Destroy(room.client.transcript);
  room.client.transcript = room.d.AddChild(room.client.room, "RICHCNTL");
  room.d.BringToFront(room.client.transcript);
  room.scanner.Look();  // the old one is gone
  room.scanner.Look();  // the new one is history
  room.Say("Pat Doe:\thide");
  EXPECT_EQ(Texts(room.scanner.Look()), std::vector<std::string>{"Pat Doe:\thide"});
}

}  // namespace
}  // namespace zantic
