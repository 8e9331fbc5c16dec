// The chat lines the program posts. Every line is the common header followed by a tail of
// its kind; variable parts are inserted exactly as given (no escaping, no trimming).
#pragma once

#include <string>
#include <string_view>

namespace zantic {

// The program's home page, with its scheme.
inline constexpr std::string_view HomePageAddress = "http://www.zantic-idle.net/";

// The home page address without its scheme prefix ("www.zantic-idle.net/").
std::string_view HomePageDisplayForm();

// Orange Wingdings "b", Arial Narrow, and a link to the home page reading "zantic idle".
const std::string& AnnouncementHeader();

// How a room's transcript shows the header (its markup rendered): how every line of the
// program begins there, whoever's copy of it posted it.
inline constexpr std::string_view kProgramLineShown = "b zantic idle";

std::string LoadedByLine(std::string_view handle);
std::string UnloadedByLine(std::string_view handle);
std::string HiddenLine();
std::string ShownLine();
std::string ImsOffLine();
std::string ImsOnLine();
std::string CreditLine();
std::string WebAddressLine();
std::string HandleChangedLine(std::string_view handle);
std::string BeganLine();
std::string ReasonLine(std::string_view reason);
std::string FirstLinkLine(std::string_view url, std::string_view description);
std::string LinkLine(std::string_view url, std::string_view description);
std::string MinuteLine(std::string_view minutes);
std::string OffIdleLine(std::string_view handle, std::string_view minutes);

}  // namespace zantic
