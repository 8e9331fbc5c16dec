#include "fakes/fake_ports.h"

#include "core/ini_text.h"

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

void FakeProfile::Put(const std::string& section, const std::string& key, const std::string& value) {
  text = SetIniValue(text.value_or(""), section, key, value);
}

std::string FakeProfile::GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                                  std::string_view default_value,
                                                  std::size_t size, std::string_view file) {
  path_seen = file;
  auto value = text ? FindIniValue(*text, section, key) : std::nullopt;
  return size == 0 ? std::string() : value.value_or(std::string(default_value)).substr(0, size - 1);
}

WriteResult FakeProfile::WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                                    std::string_view value, std::string_view file) {
  path_seen = file;
  Note(journal_, "write " + std::string(value));
  if (writes == WriteResult::Written) text = SetIniValue(text.value_or(""), section, key, value);
  return writes;
}

void FakeMessageBoxes::MessageBoxA(std::string_view text, std::string_view title,
                                   unsigned style) {
  shown.push_back({std::string(text), std::string(title), style, now_()});
  Note(journal_, "box " + std::string(text));
  if (while_shown) while_shown(shown.back());
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
