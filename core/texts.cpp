#include "core/texts.h"

namespace zantic {

std::string HandleNotSavedMessage(WriteResult why, std::string_view what) {
  std::string reason;
  switch (why) {
    case WriteResult::Written: return {};
    case WriteResult::FileReadOnly: reason = "the file zantic.ini beside the program is read-only."; break;
    case WriteResult::FolderReadOnly:
      reason = "the folder that holds the program does not let it create zantic.ini there.";
      break;
    case WriteResult::FileUnreadable:
      reason = "zantic.ini beside the program cannot be read, and the program does not overwrite "
               "a file it cannot read.";
      break;
    case WriteResult::FileUnconvertible:
      reason = "zantic.ini holds text that the program cannot write back unchanged, so it leaves "
               "the file as it is.";
      break;
    case WriteResult::WriteFailed:
      reason = "writing zantic.ini failed (the disk may be full, or another program may hold the "
               "file).";
      break;
  }
  return std::string(what) + " could not be saved: " + reason;
}

std::string GreetingsText() {
  return "i just wanna say sup to tamsel. yea so anyways go check out me and tamsel's site at " +
         std::string(SecondWebAddress) + "  peace -vorn";
}

std::string HelpText() {
  return "hey thanks for downloading my idler. to hide the i-face just type \"hide\" in the chat "
         "room w/o quotes or to show the i-face just type \"show\". any other questions e-mail "
         "me at " +
         std::string(ContactEmailAddress) + ".\r\n" + std::string(28, ' ') + "-vorn -- " +
         std::string(SecondWebAddress);
}

std::string TrayTip(const IdleState& state, bool by_itself) {
  if (!state.RunUnderWay) return std::string(kProgramName);
  return std::string(kProgramName) + " - idling" + (by_itself ? " by itself, " : ", ") + state.Minutes + " minute(s)";
}

std::string WaitingTip(std::string_view why) {
  return std::string(kProgramName) + " - waiting to idle by itself: " + std::string(why);
}

std::string IdleByItselfItem(std::string_view minutes, bool one) {
  return "Idle by itself after " + std::string(minutes) + (one ? " minute away" : " minutes away");
}

std::string DelayItem(std::string_view minutes) { return std::string(minutes) + " minutes"; }

std::string DigestHeading(std::size_t others, std::string_view minutes, std::size_t mentioned,
                          std::size_t not_kept) {
  std::string heading = std::to_string(others) + (others == 1 ? " line was" : " lines were") +
                        " said while you idled " + std::string(minutes) + " minute(s); " +
                        (mentioned ? std::to_string(mentioned) : "none") + " mentioned you";
  if (not_kept > 0) heading += " (the first " + std::to_string(not_kept) + " are not kept)";
  return heading;
}

}  // namespace zantic
