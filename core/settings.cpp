#include "core/settings.h"

#include "core/texts.h"
#include "platform/text.h"

namespace zantic {

std::string SettingsFile(Process& process) { return process.ProgramDirectory() + "\\zantic.ini"; }

std::string ReadSetting(ProfileFile& profile, std::string_view section, std::string_view key,
                        std::string_view file) {
  return profile.GetPrivateProfileStringA(section, AsciiLower(key), "", kSettingBufferSize,
                                          file);
}

WriteResult WriteSetting(ProfileFile& profile, std::string_view section, std::string_view key,
                         std::string_view value, std::string_view file) {
  return profile.WritePrivateProfileStringA(section, AsciiUpper(key), value, file);
}

std::string ReadHandle(SettingsStore settings) {
  return ReadSetting(settings.profile, "handle", "handle", SettingsFile(settings.process));
}

WriteResult WriteHandle(SettingsStore settings, std::string_view handle) {
  return WriteSetting(settings.profile, "handle", "handle", handle, SettingsFile(settings.process));
}

void ShowMessage(MessageBoxes& boxes, std::string_view text) { boxes.MessageBoxA(text, kProgramName, kBoxStyle); }

bool IsReservedHandle(std::string_view handle) { return handle == "vorn" || handle == "tamsel"; }

bool ReservedHandleGuard(SettingsStore settings, MessageBoxes& boxes, std::string_view handle) {
  if (!IsReservedHandle(handle)) return false;
  ShowMessage(boxes, RebukeMessage);
  WriteHandle(settings, ReplacementHandle);
  return true;
}

}  // namespace zantic
