#include "fakes/harness.h"

#include "core/ini_text.h"
#include "core/settings.h"

namespace zantic::fakes {

Harness::Harness() : client(desktop.AddClientWithRoom("Pat Doe")) {
  timer.on_tick = [this] { form1.AutoIdle_Timer(); };
  desktop.on_message = [this](const Message& m) {
    if (m.window == client.entry && m.msg == wm::kChar && m.wparam == 13) {
      lines.push_back({clock.Now(), desktop.Caption(client.entry)});
      journal.push_back("line " + desktop.Caption(client.entry));
    }
  };
}

std::vector<std::string> Harness::LineTexts() const {
  std::vector<std::string> texts;
  for (auto& l : lines) texts.push_back(l.text);
  return texts;
}

void Harness::ClickAt(double t, Control label) {
  clock.At(t, [this, label] { form1.Click(label); });
}

std::optional<std::string> Harness::SettingsText() {
  const auto it = files.files.find(SettingsFile(process));
  return it == files.files.end() ? std::nullopt : std::optional<std::string>(it->second);
}

void Harness::StoreHandle(const std::string& handle) {
  WriteSettings(SetIniValue(SettingsText().value_or(""), "handle", "HANDLE", handle));
}

void Harness::WriteSettings(const std::string& file) { files.files[SettingsFile(process)] = file; }

Journal Harness::Record(const std::function<void()>& body) {
  const std::size_t from = journal.size();
  body();
  return Journal(journal.begin() + static_cast<std::ptrdiff_t>(from), journal.end());
}

}  // namespace zantic::fakes
