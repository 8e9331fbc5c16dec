#include "fakes/fake_ports.h"

#include "platform/text.h"

namespace zantic::fakes {
namespace {

void Note(Journal* journal, std::string entry) {
  if (journal) journal->push_back(std::move(entry));
}

}  // namespace

std::string NameOf(Control control) {
  static const char* const kNames[] = {
      "Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7",
      "Label8", "Label9", "Label10", "Label11", "Label12", "Label13", "Label14",
      "Text1", "Text2", "Text3", "Picture1", "Line1"};
  return kNames[static_cast<int>(control)];
}

FileBytes FakeFiles::ReadWholeFile(std::string_view path) {
  const auto it = files.find(std::string(path));
  if (it == files.end()) return {FileBytes::Missing, {}};
  if (unreadable) return {FileBytes::Unreadable, {}};
  return {FileBytes::Read, it->second};
}

WriteResult FakeFiles::ReplaceWholeFile(std::string_view path, std::string_view bytes) {
  Note(journal_, "write " + std::string(path.substr(path.find_last_of('\\') + 1)));
  if (writes == WriteResult::Written) files[std::string(path)] = bytes;
  return writes;
}

std::string Latin1CodePage::ToAnsi(std::string_view utf8) {
  std::string out;
  for (char16_t c : Utf8ToUtf16(utf8)) out += c < 0x100 ? static_cast<char>(c) : '?';
  return out;
}

std::string Latin1CodePage::FromAnsi(std::string_view ansi) {
  std::string out;
  for (char c : ansi) AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

void FakeMessageBoxes::MessageBoxA(std::string_view text, std::string_view title,
                                   unsigned style) {
  shown.push_back({std::string(text), std::string(title), style});
  Note(journal_, "box " + std::string(text));
  if (while_shown) while_shown();
}

void FakeProcess::EndProgram() {
  Note(journal_, "end");
  throw ProgramEnded{};
}

FakeForm::FakeForm(Journal* journal) : journal_(journal) {
  for (int i = 0; i <= static_cast<int>(Control::Line1); ++i) {
    const auto c = static_cast<Control>(i);
    visible_[c] = true;
    enabled_[c] = true;
  }
  for (Control c : {Control::Text1, Control::Text2, Control::Text3, Control::Label9,
                    Control::Label10, Control::Label11, Control::Label12, Control::Label13,
                    Control::Label14}) {
    visible_[c] = false;
  }
  text_[Control::Text1] = "Reason";
  text_[Control::Text2] = "Description";
  text_[Control::Text3] = "URL";
}

std::vector<Control> FakeForm::ShownSwitched() const {
  std::vector<Control> shown;
  for (auto& [c, v] : visible_) {
    const bool frame = c <= Control::Label6 || c == Control::Line1;
    if (v && !frame) shown.push_back(c);
  }
  return shown;
}

void FakeForm::SetVisible(Control control, bool visible) {
  visible_[control] = visible;
  Note(journal_, (visible ? "show " : "hide ") + NameOf(control));
}

void FakeForm::SetEnabled(Control control, bool enabled) {
  enabled_[control] = enabled;
  Note(journal_, (enabled ? "enable " : "disable ") + NameOf(control));
}

void FakeForm::SetText(Control control, std::string_view text) {
  text_[control] = text;
  Note(journal_, "text " + NameOf(control) + "=" + std::string(text));
}

void FakeForm::HideForm() {
  form_visible = false;
  Note(journal_, "hide form");
}

void FakeForm::ShowForm() {
  form_visible = true;
  Note(journal_, "show form");
}

void FakeScanner::StartScanning() {
  ++starts;
  Note(journal_, "scan");
}

}  // namespace zantic::fakes
