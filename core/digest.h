// What the room said to the user while they were away: during a run, the lines of others
// that mention the user's screen name or handle (kept with their time, the latest
// kKept of them), and how many lines others said in all. In memory only: nothing of it goes
// to disk or to the room.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace zantic {

// Whether `text` names `name`: without regard to the case of ASCII letters, as a whole
// word or phrase ("Pat Doe" in "pat doe?", not in "Pat Doers"), the blanks inside the name
// matching any run of blanks. An empty name names nothing.
bool Mentions(std::string_view text, std::string_view name);

class RoomDigest {
 public:
  static constexpr std::size_t kKept = 200;

  struct Mention {
    int minute_of_day;
    std::string speaker, text;
  };

  // A run begins: what came before is forgotten. `screen_name` may be empty (it is not
  // known yet); `handle` is the stored handle.
  void Begin(std::string screen_name, std::string handle);
  void SetScreenName(std::string screen_name) { screen_name_ = std::move(screen_name); }
  bool KnowsScreenName() const { return !screen_name_.empty(); }
  // A line of the room during the run, said at `minute_of_day` (local time).
  void Line(std::string_view speaker, std::string_view text, int minute_of_day);
  // The run has ended after so many minutes.
  void End(std::string_view minutes);

  bool Collecting() const { return collecting_; }
  bool Ended() const { return ended_; }
  const std::deque<Mention>& mentions() const { return mentions_; }
  std::size_t others() const { return others_; }
  std::size_t mentioned() const { return mentioned_; }

  // "12 lines were said while you idled 3 minute(s); 2 mentioned you" (core/texts.h).
  std::string Heading() const;
  // One mention a line, "hh:mm  speaker: text", lines ended by CR LF.
  std::string Lines() const;

 private:
  std::string screen_name_, handle_, minutes_;
  std::deque<Mention> mentions_;
  std::size_t others_ = 0, mentioned_ = 0;
  bool collecting_ = false, ended_ = false;
};

}  // namespace zantic
