// Keywords and instant messages: typed into the AOL client's windows as a user would.
#pragma once

#include <string_view>

#include "aol/client.h"
#include "platform/event_loop.h"

namespace zantic {

// Opens a Send Instant Message window once the recipient is appended.
inline constexpr std::string_view kImKeywordPrefix = "aol://9293:";

// How long each of the two waits of SendInstantMessage goes on before the command gives
// up silently: long enough for a client on a slow line to open its window, short enough
// that a window that never comes does not keep the command pending for long.
inline constexpr double kImWindowWaitSeconds = 20;
inline constexpr double kImOutcomeWaitSeconds = 20;

// Types the keyword into the toolbar's address box, then a blank and Enter.
void RunKeyword(AolClient& aol, std::string_view keyword);

// Has the client open its Send Instant Message window for the recipient, fills in the
// message, presses Send, and answers the "America Online" box the client may show. Events
// are handled throughout (the waits run nested handlers, as a pause does); each wait gives
// up after its bound.
void SendInstantMessage(AolClient& aol, EventLoop& events, std::string_view recipient,
                        std::string_view message);

// Switches the user's instant messages off / on.
void SetImsOff(AolClient& aol, EventLoop& events);
void SetImsOn(AolClient& aol, EventLoop& events);

}  // namespace zantic
