#include "core/settings.h"

namespace zantic {
namespace {

// Only ASCII letters change case: the keys are fixed ASCII names.
std::string WithCase(std::string_view text, bool upper) {
  std::string out(text);
  for (char& c : out) {
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

std::string SettingsFile(Process& process) { return process.ProgramDirectory() + "\\zantic.ini"; }

std::string ReadSetting(ProfileFile& profile, std::string_view section, std::string_view key,
                        std::string_view file) {
  return profile.GetPrivateProfileStringA(section, WithCase(key, false), "", kSettingBufferSize,
                                          file);
}

void WriteSetting(ProfileFile& profile, std::string_view section, std::string_view key,
                  std::string_view value, std::string_view file) {
  profile.WritePrivateProfileStringA(section, WithCase(key, true), value, file);
}

std::string ReadHandle(Ports& ports) {
  return ReadSetting(ports.profile, "handle", "handle", SettingsFile(ports.process));
}

void WriteHandle(Ports& ports, std::string_view handle) {
  WriteSetting(ports.profile, "handle", "handle", handle, SettingsFile(ports.process));
}

void ShowMessage(Ports& ports, std::string_view text) {
  ports.boxes.MessageBoxA(text, kBoxTitle, kBoxStyle);
}

bool ReservedHandleGuard(Ports& ports, std::string_view handle) {
  if (handle != "vorn" && handle != "tamsel") return false;
  ShowMessage(ports, RebukeMessage);
  WriteHandle(ports, ReplacementHandle);
  return true;
}

}  // namespace zantic
