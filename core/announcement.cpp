#include "core/announcement.h"

#include <initializer_list>

namespace zantic {
namespace {

constexpr std::string_view kOrange = R"(<font color="#FF8000">)";
constexpr std::string_view kBlue = R"(<font color="#0080FF">)";
constexpr std::string_view kGreen = R"(<font color="#008040">)";

std::string Line(std::initializer_list<std::string_view> tail) {
  std::size_t size = AnnouncementHeader().size();
  for (std::string_view piece : tail) size += piece.size();
  std::string line;
  line.reserve(size);
  line += AnnouncementHeader();
  for (std::string_view piece : tail) line += piece;
  return line;
}

std::string LinkTail(std::string_view lead, std::string_view url, std::string_view description) {
  return Line({lead, " rsn: ", "< a href=", url, ">", kGreen, "</u>", description, "</a>"});
}

}  // namespace

std::string_view HomePageDisplayForm() {
  std::string_view address = HomePageAddress;
  const auto scheme_end = address.find("//");
  return scheme_end == std::string_view::npos ? address : address.substr(scheme_end + 2);
}

const std::string& AnnouncementHeader() {
  static const std::string header =
      std::string(kOrange) + R"(<font face="Wingdings">b<font face="Arial Narrow">< a href=")" +
      std::string(HomePageAddress) + R"("></u><font color="#0080C0"> zantic idle</a>)";
  return header;
}

std::string LoadedByLine(std::string_view handle) {
  return Line({kOrange, " loaded by ", kBlue, handle});
}
std::string UnloadedByLine(std::string_view handle) {
  return Line({kOrange, " unloaded by ", kBlue, handle});
}
std::string HiddenLine() { return Line({kOrange, " i-face has been ", kBlue, "hidden"}); }
std::string ShownLine() { return Line({kOrange, " i-face has been ", kBlue, "shown"}); }
std::string ImsOffLine() { return Line({kOrange, " ims now ", kBlue, "off"}); }
std::string ImsOnLine() { return Line({kOrange, " ims now ", kBlue, "on"}); }
std::string CreditLine() { return Line({kOrange, " by ", kBlue, "vorn"}); }
std::string WebAddressLine() { return Line({kOrange, " ", HomePageDisplayForm()}); }
std::string HandleChangedLine(std::string_view handle) {
  return Line({kOrange, " handle changed to ", kBlue, handle});
}
std::string BeganLine() {
  return Line({kOrange, " just", kBlue, " began ", kOrange, "to idle"});
}
std::string ReasonLine(std::string_view reason) {
  return Line({kOrange, " rsn: ", kBlue, reason});
}
std::string FirstLinkLine(std::string_view url, std::string_view description) {
  return LinkTail(std::string(kOrange) + std::string(kOrange), url, description);
}
std::string LinkLine(std::string_view url, std::string_view description) {
  return LinkTail(kOrange, url, description);
}
std::string MinuteLine(std::string_view minutes) {
  return Line({kOrange, " ", minutes, kBlue, " minute(s)."});
}
std::string OffIdleLine(std::string_view handle, std::string_view minutes) {
  return Line({kBlue, " ", handle, kOrange, " is off idle after ", kBlue, minutes, kOrange,
               " minute(s)"});
}

}  // namespace zantic
