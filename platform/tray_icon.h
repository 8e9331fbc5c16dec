// The program's icon in the notification area (the tray), for its whole life.
#pragma once

#include <string_view>

namespace zantic {

class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  virtual void SetTip(std::string_view text) = 0;
  // A balloon from the icon; a click on it comes back as the tray's balloon click.
  virtual void ShowBalloon(std::string_view title, std::string_view text) = 0;
  // Takes the icon away (the program is ending).
  virtual void Remove() = 0;
};

}  // namespace zantic
