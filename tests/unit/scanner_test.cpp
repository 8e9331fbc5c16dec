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

// A look preceded by what happens in the room since the last one.
struct Look {
  std::vector<std::string> said;
  std::vector<std::string> reported;
  enum Event { None, Cleared, Unreadable, OtherRoom, NoRoom } event = None;
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
    if (look.event == Look::Cleared) room.Clear();
    if (look.event == Look::OtherRoom) room.window += 4;
    room.window = look.event == Look::NoRoom ? kNoWindow : (room.window ? room.window : 0x99);
    for (auto& line : look.said) room.Say(line);
    EXPECT_EQ(Texts(tracker.Poll(room)), look.reported) << "look " << n++;
  }
}

using L = Look;
INSTANTIATE_TEST_SUITE_P(
    Rooms, Tracker,
    testing::Values(
        TrackCase{"HistoryThenNewLinesOnce", 1000,
                  {L{{"Kim:\told news"}, {}}, L{{"Pat:\thide", "Pat:\thide", "Kim:\tyou hid"}, {"Pat:\thide", "Pat:\thide", "Kim:\tyou hid"}},
                   L{{}, {}}}},
        TrackCase{"MoreThanTheRoomKeeps", 5,
                  {L{{"Kim:\tseen"}, {}}, L{{"K:\t0", "K:\t1", "K:\t2", "K:\t3", "K:\t4", "K:\t5", "K:\t6"},
                                             {"K:\t2", "K:\t3", "K:\t4", "K:\t5", "K:\t6"}}}},
        TrackCase{"Cleared", 1000, {L{{"Kim:\tbefore"}, {}}, L{{}, {}, L::Cleared}, L{{"Pat:\tshow"}, {"Pat:\tshow"}}}},
        TrackCase{"AnUnreadableLookCatchesUpLater", 1000,
                  {L{{"Kim:\told"}, {}}, L{{"Kim:\ta"}, {}, L::Unreadable}, L{{"Kim:\tb"}, {"Kim:\ta", "Kim:\tb"}}}},
        TrackCase{"ANewRoomIsHistoryAndAClosedOneNoTrouble", 1000,
                  {L{{}, {}}, L{{}, {}, L::NoRoom}, L{{"Kim:\tsaid before we looked"}, {}, L::OtherRoom},
                   L{{"Kim:\tsaid after"}, {"Kim:\tsaid after"}}}},
        TrackCase{"ANewRoomWhoseFirstReadFails", 1000,
                  {L{{}, {}}, L{{"Kim:\tthere"}, {}, L::Unreadable}, L{{}, {}, L::OtherRoom}, L{{"Kim:\tnew"}, {"Kim:\tnew"}}}},
        // A line that ends as the one before did, in a room that keeps one line.
        TrackCase{"KeepsOneLine", 1, {L{{"Kim:\thi"}, {}}, L{{"Kim:\thi!"}, {"Kim:\thi!"}}, L{{}, {}}}},
        TrackCase{"TheLastLineReadDropsOff", 3, {L{{"K:\ta", "K:\tb"}, {}}, L{{"K:\tb", "K:\tc"}, {"K:\tb", "K:\tc"}}}},
        TrackCase{"LinesThatBeginAlike", 2, {L{{"K:\t0", "K:\t1"}, {}}, L{{"K:\t10", "K:\t2"}, {"K:\t10", "K:\t2"}}}},
        TrackCase{"OneLetterSpeaker", 1000, {L{{}, {}}, L{{"A:\thi"}, {"A:\thi"}}}}),
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
  EXPECT_EQ(cost[0], cost[1]);
  EXPECT_LT(cost[1], 2 * TranscriptTracker::kFirstSearch);
}

// Random traffic, looked at now and then. Repeated lines are told apart as long as the
// lines read last are still in the transcript; distinct lines even when all but one of the
// lines read last have dropped off the top. A room without a limit growing fast, too.
TEST(Tracker, RandomTrafficIsReportedExactly) {
  struct Traffic {
    std::size_t cap, most_per_look;
    bool repeats;
    int looks = 3000;
  };
  std::mt19937 random(7);
  for (Traffic t : {Traffic{200, 150, true}, Traffic{20, 19, false}, Traffic{1000000, 80, false, 60}}) {
    FakeTranscript room(t.cap);
    TranscriptTracker tracker;
    tracker.Poll(room);
    std::vector<std::string> said, reported;
    for (int step = 0; step < t.looks; ++step) {
      for (std::size_t i = random() % t.most_per_look; i > 0; --i) {
        said.push_back(t.repeats && random() % 4 == 0 ? "Pat:\thide" : "Kim:\tline " + std::to_string(said.size()));
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
      {"ALineSaid", kT + 1200, 0, true, RoomScanner::kTickMs},
      {"AndMoreLinesAtTheNextLook", kT + 1350, 0, true, RoomScanner::kTickMs},
      {"ThenALookThatFindsNothing", kT + 1500, 0, false, RoomScanner::kQuietTickMs},
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

TEST(Scanner, ARoomThatCannotBeReadIsLookedForAgainAndMissesNothing) {
  Room room;
  room.d.unreadable.insert(room.client.transcript);
  room.Say("Pat Doe:\thide");
  EXPECT_TRUE(room.scanner.Look().empty());
  room.d.unreadable.clear();
  EXPECT_EQ(Texts(room.scanner.Look()), std::vector<std::string>{"Pat Doe:\thide"});
  // The room keeps its window but gets a new transcript: the scanner finds it.
  room.d.Destroy(room.client.transcript);
  room.client.transcript = room.d.AddChild(room.client.room, "RICHCNTL");
  room.d.BringToFront(room.client.transcript);
  room.scanner.Look();  // the old one is gone
  room.scanner.Look();  // the new one is history
  room.Say("Pat Doe:\tshow");
  EXPECT_EQ(Texts(room.scanner.Look()), std::vector<std::string>{"Pat Doe:\tshow"});
}

}  // namespace
}  // namespace zantic
