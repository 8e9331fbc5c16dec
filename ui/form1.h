// The main window's logic: one handler per control event. The Win32 window (ui/win32)
// creates the controls, implements the FormControls port and calls these handlers; the
// handlers run on the user-interface thread and may run nested inside one another's
// pauses.
#pragma once

#include <string>
#include <string_view>

#include "core/idle_state.h"
#include "core/program_ports.h"

namespace zantic {

// A web address of the author's (shown without its scheme) and an address for questions.
inline constexpr std::string_view SecondWebAddress = "www.vorn-and-tamsel.net/idlers/";
inline constexpr std::string_view ContactEmailAddress = "vorn@zantic-idle.net";

// The texts of the "greetz" and "?" message boxes.
std::string GreetingsText();
std::string HelpText();

class Form1 {
 public:
  explicit Form1(Ports ports) : p_(ports) {}

  // The load sequence; runs once, before the window is first shown.
  void Form_Load();
  // A mouse button pressed on the window's own surface (not on a control).
  void Form_MouseDown(MouseButton button = MouseButton::Left);
  // A click (press and release) on a label. Labels without a handler do nothing.
  void Click(Control label);
  // A line of the chat room, reported by the chat scanner.
  void Chat1_ChatLine(std::string_view speaker, std::string_view text);

  IdleState& State() { return state_; }

  void Label2_Click();   // "X"
  void Label3_Click();   // "?"
  void Label4_Click();   // "reg. idle"
  void Label5_Click();   // "link idle"
  void Label6_Click();   // "other"
  void Label7_Click();   // "Start"
  void Label8_Click();   // "Stop"
  void Label9_Click();   // "IMs on"
  void Label10_Click();  // "IMs off"
  void Label11_Click();  // "adv"
  void Label12_Click();  // "greetz"
  void Label13_Click();  // "handle"
  void Label14_Click();  // "set"

 private:
  Ports p_;
  IdleState state_;
};

}  // namespace zantic
