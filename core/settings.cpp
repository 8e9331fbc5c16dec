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

std::string ReadHandle(HandleFile file) {
  return ReadSetting(file.profile, "handle", "handle", SettingsFile(file.process));
}

WriteResult WriteHandle(HandleFile file, std::string_view handle) {
  return WriteSetting(file.profile, "handle", "handle", handle, SettingsFile(file.process));
}

void ShowMessage(MessageBoxes& boxes, std::string_view text) { boxes.MessageBoxA(text, kProgramName, kBoxStyle); }

bool ReservedHandleGuard(HandleFile file, MessageBoxes& boxes, std::string_view handle) {
  if (handle != "vorn" && handle != "tamsel") return false;
  ShowMessage(boxes, RebukeMessage);
  WriteHandle(file, ReplacementHandle);
  return true;
}

}  // namespace zantic
