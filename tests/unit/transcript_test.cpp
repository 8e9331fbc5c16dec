// Following a transcript that grows at the bottom and drops lines off the top.
#include "aol/transcript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>

namespace zantic {
namespace {

// A transcript as the client keeps it: the latest `cap` lines, a break before each line.
class FakeTranscript : public TranscriptReader {
 public:
  explicit FakeTranscript(std::size_t cap = 1000) : cap_(cap) {}
  Hwnd window = 0x77;
  bool readable = true;

  void Say(const std::string& speaker, const std::string& text) {
    lines_.push_back(std::u16string(speaker.begin(), speaker.end()) + u":\t" +
                     std::u16string(text.begin(), text.end()));
    while (lines_.size() > cap_) lines_.pop_front();
  }
  void Clear() { lines_.clear(); }
  std::u16string Text() const {
    std::u16string text;
    for (auto& line : lines_) text += (text.empty() ? u"" : u"\r") + line;
    return text;
  }

  Hwnd Transcript() override { return window; }
  std::optional<std::u16string> ReadFrom(Hwnd, long from) override {
    if (!readable) return std::nullopt;
    const std::u16string text = Text();
    return from >= static_cast<long>(text.size()) ? std::u16string() : text.substr(static_cast<std::size_t>(from));
  }

 private:
  std::size_t cap_;
  std::deque<std::u16string> lines_;
};

std::vector<ChatLineReport> Lines(std::initializer_list<std::pair<const char*, const char*>> l) {
  std::vector<ChatLineReport> out;
  for (auto [s, t] : l) out.push_back({s, t});
  return out;
}

TEST(Tracker, HistoryIsNotReportedAndNewLinesAreOnceEach) {
  FakeTranscript room;
  room.Say("Kim", "old news");
  TranscriptTracker tracker;
  EXPECT_TRUE(tracker.Poll(room).empty());
  room.Say("Pat Doe", "hide");
  room.Say("Pat Doe", "hide");
  room.Say("Kim", "you hid");
  EXPECT_EQ(tracker.Poll(room), Lines({{"Pat Doe", "hide"}, {"Pat Doe", "hide"}, {"Kim", "you hid"}}));
  EXPECT_TRUE(tracker.Poll(room).empty());
}

TEST(Tracker, MoreLinesThanTheTranscriptKeepsReportsWhatIsThere) {
  FakeTranscript room(5);
  TranscriptTracker tracker;
  room.Say("Kim", "seen");
  tracker.Poll(room);
  for (int i = 0; i < 8; ++i) room.Say("Kim", std::to_string(i));
  EXPECT_EQ(tracker.Poll(room), Lines({{"Kim", "3"}, {"Kim", "4"}, {"Kim", "5"}, {"Kim", "6"}, {"Kim", "7"}}));
}

TEST(Tracker, ClearedTranscriptReportsWhatCameAfterTheClear) {
  FakeTranscript room;
  TranscriptTracker tracker;
  room.Say("Kim", "before");
  tracker.Poll(room);
  room.Clear();
  EXPECT_TRUE(tracker.Poll(room).empty());
  room.Say("Pat Doe", "show");
  EXPECT_EQ(tracker.Poll(room), Lines({{"Pat Doe", "show"}}));
}

TEST(Tracker, NewRoomIsHistoryAndAClosedRoomIsNoTrouble) {
  FakeTranscript room;
  TranscriptTracker tracker;
  tracker.Poll(room);
  room.window = kNoWindow;
  EXPECT_TRUE(tracker.Poll(room).empty());
  room.window = 0x99;  // another room
  room.Say("Kim", "said before we looked");
  EXPECT_TRUE(tracker.Poll(room).empty());
  room.Say("Kim", "said after");
  EXPECT_EQ(tracker.Poll(room), Lines({{"Kim", "said after"}}));
}

TEST(Tracker, AnUnreadableLookCatchesUpLater) {
  FakeTranscript room;
  TranscriptTracker tracker;
  tracker.Poll(room);
  room.Say("Kim", "a");
  room.readable = false;
  EXPECT_TRUE(tracker.Poll(room).empty());
  room.readable = true;
  room.Say("Kim", "b");
  EXPECT_EQ(tracker.Poll(room), Lines({{"Kim", "a"}, {"Kim", "b"}}));
}

TEST(Tracker, ReadingCostFollowsTheNewLinesNotTheHistory) {
  std::vector<std::size_t> cost;
  for (int history : {1000, 100000}) {
    FakeTranscript room(static_cast<std::size_t>(history));
    for (int i = 0; i < history; ++i) room.Say("Kim", "history line " + std::to_string(i));
    TranscriptTracker tracker;
    tracker.Poll(room);
    for (int i = 0; i < 10; ++i) room.Say("Kim", "new " + std::to_string(i));
    tracker.Poll(room);
    cost.push_back(tracker.last_read_chars());
  }
  EXPECT_EQ(cost[0], cost[1]);
  EXPECT_LT(cost[1], 2 * TranscriptTracker::kFirstSearch);
}

// Random traffic, looked at now and then. Repeated lines are told apart as long as the
// lines read last are still in the transcript; distinct lines even when all but one of the
// lines read last have dropped off the top.
TEST(Tracker, RandomTrafficIsReportedExactly) {
  struct Traffic {
    std::size_t cap, most_per_look;
    bool repeats;
  };
  std::mt19937 random(7);
  for (Traffic t : {Traffic{200, 150, true}, Traffic{20, 19, false}}) {
    FakeTranscript room(t.cap);
    TranscriptTracker tracker;
    tracker.Poll(room);
    std::vector<ChatLineReport> said, reported;
    for (int step = 0; step < 3000; ++step) {
      const std::size_t burst = random() % t.most_per_look;
      for (std::size_t i = 0; i < burst; ++i) {
        const bool repeat = t.repeats && random() % 4 == 0;
        const std::string text = repeat ? "hide" : "line " + std::to_string(said.size());
        room.Say(repeat ? "Pat Doe" : "Kim", text);
        said.push_back({repeat ? "Pat Doe" : "Kim", text});
      }
      auto got = tracker.Poll(room);
      reported.insert(reported.end(), got.begin(), got.end());
    }
    auto mismatch = std::mismatch(reported.begin(), reported.end(), said.begin(), said.end());
    EXPECT_TRUE(mismatch.first == reported.end() && mismatch.second == said.end())
        << "cap " << t.cap << ": " << reported.size() << " reported, " << said.size()
        << " said; first difference at " << (mismatch.first - reported.begin());
  }
}

struct ParseCase {
  std::u16string text;
  std::vector<ChatLineReport> lines;
};

TEST(ParseTranscriptLines, SplitsParagraphsAtTheFirstSeparator) {
  const ParseCase cases[] = {
      {u"Pat:\thi", Lines({{"Pat", "hi"}})},
      {u"\rPat:\thi\r\nKim:\tho\r", Lines({{"Pat", "hi"}, {"Kim", "ho"}})},
      {u"Pat:\ta:\tb", Lines({{"Pat", "a:\tb"}})},
      {u"OnlineHost says hello\r:\tno speaker\rPat:\t", Lines({{"Pat", ""}})},
      {u"", {}},
      {u"Pat \u00e9:\t\u263a \xD800x", Lines({{"Pat \xC3\xA9", "\xE2\x98\xBA \xEF\xBF\xBDx"}})},
  };
  for (auto& c : cases) EXPECT_EQ(ParseTranscriptLines(c.text), c.lines);
}

}  // namespace
}  // namespace zantic
