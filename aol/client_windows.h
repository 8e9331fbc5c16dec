// The AOL client's windows as the program finds them: their classes and captions, and a
// walk over a window's children of one class.
#pragma once

#include <optional>
#include <string_view>

#include "platform/window_system.h"

namespace zantic::aol {

inline constexpr std::string_view kFrame = "AOL Frame25";             // the main window
inline constexpr std::string_view kMdiClient = "MDIClient";
inline constexpr std::string_view kChild = "AOL Child";               // every MDI child window
inline constexpr std::string_view kRichText = "RICHCNTL";             // transcript, entry box, IM text
inline constexpr std::string_view kListbox = "_AOL_Listbox";
inline constexpr std::string_view kIcon = "_AOL_Icon";
inline constexpr std::string_view kStatic = "_AOL_Static";
inline constexpr std::string_view kToolbar = "AOL Toolbar";
inline constexpr std::string_view kInnerToolbar = "_AOL_Toolbar";
inline constexpr std::string_view kCombobox = "_AOL_Combobox";
inline constexpr std::string_view kEdit = "Edit";                     // the toolbar's address box
inline constexpr std::string_view kDialog = "#32770";                 // the client's message box
inline constexpr std::string_view kButton = "Button";
inline constexpr std::string_view kSendImCaption = "Send Instant Message";
inline constexpr std::string_view kMessageBoxCaption = "America Online";
inline constexpr std::string_view kWelcomePrefix = "Welcome, ";       // "Welcome, <screen name>!"

// The direct children of `parent` of one class (and caption, when one is given), in child
// order, each looked up with FindWindowExA after the one before:
//   for (Hwnd room : ChildWindows(windows, mdi, aol::kChild)) ...
// Under no window it is empty.
class ChildWindows {
 public:
  ChildWindows(WindowSystem& windows, Hwnd parent, std::string_view cls,
               std::optional<std::string_view> caption = std::nullopt)
      : windows_(windows), parent_(parent), cls_(cls), caption_(caption) {}

  class iterator {
   public:
    Hwnd operator*() const { return window_; }
    iterator& operator++() {
      window_ = range_->Next(window_);
      return *this;
    }
    bool operator!=(const iterator& other) const { return window_ != other.window_; }

   private:
    friend class ChildWindows;
    iterator(const ChildWindows* range, Hwnd window) : range_(range), window_(window) {}
    const ChildWindows* range_;
    Hwnd window_;
  };

  iterator begin() const { return {this, Next(kNoWindow)}; }
  iterator end() const { return {this, kNoWindow}; }

 private:
  Hwnd Next(Hwnd after) const { return windows_.FindWindowExA(parent_, after, cls_, caption_); }
  WindowSystem& windows_;
  Hwnd parent_;
  std::string_view cls_;
  std::optional<std::string_view> caption_;
};

// The client's MDI client: where its chat rooms, Welcome and IM windows are.
inline Hwnd FindMdiClient(WindowSystem& windows) {
  return windows.FindWindowExA(windows.FindWindowA(kFrame, std::nullopt), kNoWindow, kMdiClient, std::nullopt);
}

}  // namespace zantic::aol
