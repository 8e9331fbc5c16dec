// The program's own texts: every text the user reads that is not a chat line (those are in
// core/announcement.h). The program's name, the texts of its message boxes, the help and
// the greetings, the tray icon's tooltip, menu and balloon, and the texts of the digest.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/idle_state.h"
#include "platform/file_system.h"

namespace zantic {

// The title of every message box and the balloon, and the tray icon's tooltip when idle.
inline constexpr std::string_view kProgramName = "zantic idle";

// --- Message boxes -------------------------------------------------------------------------

// Shown when the stored handle is a reserved one.
inline constexpr std::string_view RebukeMessage =
    "nice try, but you are not the author of this idler. pick a handle of your own.";
// Stored as the handle in place of a reserved one.
inline constexpr std::string_view ReplacementHandle = "i tried to pose as the author and got caught";

// Start or Stop with no idler picked, or with a box of the idler empty.
inline constexpr std::string_view kPickAnIdler = "Please pick an idler before clicking this button.";
inline constexpr std::string_view kFillInAllBoxes = "you need to fill in all boxes";
// "set" with the handle entry empty.
inline constexpr std::string_view kEnterHandleFirst = "Please enter your handle first";
// A handle (or, `what`, another choice) that could not be stored: that it was not saved,
// and why.
std::string HandleNotSavedMessage(WriteResult why, std::string_view what = "Your handle");

// A second start that finds a running copy that gives no sign of life.
inline constexpr std::string_view kOtherCopyDoesNotAnswer =
    "zantic idle is already running but does not answer. End it in the Task Manager, then start "
    "zantic idle again.";

// A web address of the author's (shown without its scheme) and an address for questions.
inline constexpr std::string_view SecondWebAddress = "www.vorn-and-tamsel.net/idlers/";
inline constexpr std::string_view ContactEmailAddress = "vorn@zantic-idle.net";
// The texts of the "greetz" and "?" message boxes.
std::string GreetingsText();
std::string HelpText();

// --- The tray icon -------------------------------------------------------------------------

// The tooltip: "zantic idle - idling, N minute(s)" during a run ("idling by itself" for a
// run the program started), "zantic idle" otherwise.
std::string TrayTip(const IdleState& state, bool by_itself = false);
// While idling by itself cannot start a run that is due: "zantic idle - waiting to idle by
// itself: " and why.
std::string WaitingTip(std::string_view why);
inline constexpr std::string_view kWaitForAnIdler = "pick an idler first";
inline constexpr std::string_view kWaitForTheBoxes = "fill in all boxes first";
inline constexpr std::string_view kWaitForTheHandlePanel = "finish setting your handle first";
inline constexpr std::string_view kWaitForStop = "press stop first";
inline constexpr std::string_view kWaitForAHandle = "set a handle of your own first";
// The menu's items.
inline constexpr std::string_view kShowWindow = "Show window";
inline constexpr std::string_view kHideWindow = "Hide window";
inline constexpr std::string_view kWhileYouWereAway = "While you were away\xE2\x80\xA6";
inline constexpr std::string_view kStopIdling = "Stop idling";
inline constexpr std::string_view kExit = "Exit";
// "Idle by itself after 10 minutes away" ("1 minute away"), and its "Delay" submenu of
// "5 minutes" and the others.
std::string IdleByItselfItem(std::string_view minutes, bool one);
inline constexpr std::string_view kDelay = "Delay";
std::string DelayItem(std::string_view minutes);
// What could not be stored when the choice to idle by itself was not saved.
inline constexpr std::string_view kIdleByItselfChoice = "Your choice to idle by itself";
// The balloon that asks whether the user is back.
inline constexpr std::string_view kBackBalloon = "Back? Click here to stop idling.";

// --- The digest of the room ----------------------------------------------------------------

inline constexpr std::string_view kDigestCaption = "zantic idle - while you were away";
// Shown before any run has ended.
inline constexpr std::string_view kNothingYet =
    "Nothing yet: what the room says to you while you idle is kept here, and shown when the idle "
    "run ends.";
// "12 lines were said while you idled 3 minute(s); 2 mentioned you", and how many of the
// mentions were not kept, if any.
std::string DigestHeading(std::size_t others, std::string_view minutes, std::size_t mentioned,
                          std::size_t not_kept);

}  // namespace zantic
