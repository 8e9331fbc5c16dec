#include "ui/form1.h"

#include <initializer_list>
#include <string>

#include "aol/chat_room.h"
#include "aol/instant_message.h"
#include "core/announcement.h"
#include "core/idle_run.h"
#include "core/pause.h"
#include "core/settings.h"
#include "core/texts.h"
#include "platform/text.h"
#include "ui/window_moves.h"

namespace zantic {
namespace {

using C = Control;

// How long "X" waits, at most, for lines still on their way to the client.
constexpr double kExitDrainSeconds = 2;

// Shows or hides the controls one after the other, in the order given.
void Show(FormControls& form, std::initializer_list<Control> controls) {
  for (Control c : controls) form.SetVisible(c, true);
}
void Hide(FormControls& form, std::initializer_list<Control> controls) {
  for (Control c : controls) form.SetVisible(c, false);
}

}  // namespace

std::string FormRunInputs::Reason() { return form_.GetText(C::Text1); }
std::string FormRunInputs::LinkDescription() { return form_.GetText(C::Text2); }
std::string FormRunInputs::LinkUrl() { return form_.GetText(C::Text3); }

void FormRunInputs::Lock() {
  for (Control c : {C::Text1, C::Text2, C::Text3, C::Label7}) form_.SetEnabled(c, false);
}

void FormRunInputs::Unlock() {
  for (Control c : {C::Text1, C::Text2, C::Text3, C::Label7}) form_.SetEnabled(c, true);
}

void Form1::Form_Load() {
  ReservedHandleGuard(p_.settings(), p_.boxes, ReadHandle(p_.settings()));
  p_.chat1.StartScanning();
  KeepOnTop(p_.own_window, p_.form.FormWindow());
  state_.Mode = IdleMode::None;
  SendChatLine(p_.aol, LoadedByLine(ReadHandle(p_.settings())));
  loaded_ = true;
  LoadAutoIdle();
}

void Form1::Form_MouseDown(MouseButton button) {
  KeepOnTop(p_.own_window, p_.form.FormWindow());
  BeginWindowDrag(p_.own_window, p_.form.FormWindow(), button);
}

void Form1::Chat1_ChatLine(std::string_view speaker, std::string_view text) {
  // The commands look the screen name up afresh, each time, and only for these two texts
  // (the digest keeps its own, below). A screen name that cannot be read is empty and
  // matches nobody, not even a line that came without a speaker.
  auto from_user = [&] {
    const std::string name = GetScreenName(p_.aol.windows());
    return !name.empty() && speaker == name;
  };
  if (EqualsIgnoringAsciiCase(text, "hide") && from_user()) {
    p_.form.HideForm();
    SendChatLine(p_.aol, HiddenLine());
  }
  if (EqualsIgnoringAsciiCase(text, "show") && from_user()) {
    p_.form.ShowForm();
    SendChatLine(p_.aol, ShownLine());
  }
  // During a run the line also goes to the digest of the room, which keeps to itself.
  if (digest_.Collecting()) DigestLine(speaker, text);
}

void Form1::Click(Control label) {
  auto_idle_.UserPresent(p_.input.TickMs());  // a click on the window is the user, surely
  switch (label) {
    case C::Label2: return Label2_Click();
    case C::Label3: return Label3_Click();
    case C::Label4: return Label4_Click();
    case C::Label5: return Label5_Click();
    case C::Label6: return Label6_Click();
    case C::Label7: return Label7_Click();
    case C::Label8: return Label8_Click();
    case C::Label9: return Label9_Click();
    case C::Label10: return Label10_Click();
    case C::Label11: return Label11_Click();
    case C::Label12: return Label12_Click();
    case C::Label13: return Label13_Click();
    case C::Label14: return Label14_Click();
    default: return;  // the title, the boxes, the logo and the line have no click handler
  }
}

// "X": announce the exit, slide the window out of view, end. Lines still on their way to
// a client that does not answer are waited for a little, not for ever.
void Form1::Label2_Click() {
  ending_ = true;
  SendChatLine(p_.aol, UnloadedByLine(ReadHandle(p_.settings())));
  Pause(p_.events, 0.4);
  SlideOutWindow(p_.own_window, p_.events, p_.form.FormWindow());
  p_.aol.Drain(kExitDrainSeconds);
  p_.tray.Remove();
  p_.process.EndProgram();
}

// "?"
void Form1::Label3_Click() { ShowMessage(p_.boxes, HelpText()); }

// "reg. idle"
void Form1::Label4_Click() {
  FormControls& f = p_.form;
  f.SetText(C::Text1, "reason");
  Hide(f, {C::Label14});
  Show(f, {C::Label7, C::Label8});
  Hide(f, {C::Label13, C::Label11, C::Label12, C::Text2, C::Text3, C::Label9, C::Label10,
           C::Picture1});
  Show(f, {C::Text1});
  state_.Mode = IdleMode::Regular;
}

// "link idle"
void Form1::Label5_Click() {
  FormControls& f = p_.form;
  f.SetText(C::Text2, "Description");
  f.SetText(C::Text3, "URL");
  Show(f, {C::Label7, C::Label8});
  Hide(f, {C::Label14, C::Label13, C::Picture1, C::Label10, C::Label11, C::Label12, C::Label9,
           C::Text1});
  Show(f, {C::Text2, C::Text3});
  state_.Mode = IdleMode::Link;
}

// "other"
void Form1::Label6_Click() {
  FormControls& f = p_.form;
  Hide(f, {C::Text2, C::Text3});
  Show(f, {C::Label13, C::Label12, C::Label11});
  Hide(f, {C::Text1});
  Show(f, {C::Label10, C::Label9});
  Hide(f, {C::Picture1});
}

// "Start" and "Stop"
void Form1::Label7_Click() { StartIdleRun(ForRun(), state_, &follower_); }
void Form1::Label8_Click() { StopIdleRun(ForRun(), state_); }

// "IMs on" / "IMs off": announce first, then switch.
void Form1::Label9_Click() {
  SendChatLine(p_.aol, ImsOnLine());
  Pause(p_.events, 0.4);
  SetImsOn(p_.aol, p_.events);
}

void Form1::Label10_Click() {
  SendChatLine(p_.aol, ImsOffLine());
  Pause(p_.events, 0.4);
  SetImsOff(p_.aol, p_.events);
}

// "adv"
void Form1::Label11_Click() {
  SendChatLine(p_.aol, CreditLine());
  Pause(p_.events, 0.7);
  SendChatLine(p_.aol, WebAddressLine());
}

// "greetz"
void Form1::Label12_Click() { ShowMessage(p_.boxes, GreetingsText()); }

// "handle"
void Form1::Label13_Click() {
  FormControls& f = p_.form;
  Hide(f, {C::Label13, C::Label9, C::Label10, C::Label11, C::Label12});
  Show(f, {C::Text1});
  f.SetText(C::Text1, ReadHandle(p_.settings()));
  Hide(f, {C::Label7, C::Label8});
  Show(f, {C::Label14});
}

// "set": stores the text of the handle entry as the user's handle and announces it.
void Form1::Label14_Click() {
  FormControls& f = p_.form;
  if (f.GetText(C::Text1).empty()) {
    ShowMessage(p_.boxes, kEnterHandleFirst);
    f.SetText(C::Text1, ReadHandle(p_.settings()));
    return;
  }
  // It is the handle stored so far that the guard tests, not the new one.
  if (ReservedHandleGuard(p_.settings(), p_.boxes, ReadHandle(p_.settings()))) {
    f.SetText(C::Text1, ReadHandle(p_.settings()));
    return;
  }
  // Stored first, announced only once stored: the room must not hear of a handle that the
  // next start would not know. A handle that could not be stored is the user's to hear of,
  // and the entry stays open with it.
  const std::string handle = f.GetText(C::Text1);
  if (const WriteResult written = WriteHandle(p_.settings(), handle); written != WriteResult::Written) {
    ShowMessage(p_.boxes, HandleNotSavedMessage(written));
    return;
  }
  SendChatLine(p_.aol, HandleChangedLine(handle));
  Show(f, {C::Picture1});
  Hide(f, {C::Label14});
  Show(f, {C::Label7, C::Label8});
  Hide(f, {C::Text1});
}

}  // namespace zantic
