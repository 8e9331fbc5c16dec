#include "core/settings.h"

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

std::string ReadHandle(Ports& ports) {
  return ReadSetting(ports.profile, "handle", "handle", SettingsFile(ports.process));
}

WriteResult WriteHandle(Ports& ports, std::string_view handle) {
  return WriteSetting(ports.profile, "handle", "handle", handle, SettingsFile(ports.process));
}

std::string HandleNotSavedMessage(WriteResult why, std::string_view what) {
  std::string reason;
  switch (why) {
    case WriteResult::Written: return {};
    case WriteResult::FileReadOnly: reason = "the file zantic.ini beside the program is read-only."; break;
    case WriteResult::FolderReadOnly:
      reason = "the folder that holds the program does not let it create zantic.ini there.";
      break;
    case WriteResult::FileUnreadable:
      reason = "zantic.ini beside the program cannot be read, and the program does not overwrite "
               "a file it cannot read.";
      break;
    case WriteResult::FileUnconvertible:
      reason = "zantic.ini holds text that the program cannot write back unchanged, so it leaves "
               "the file as it is.";
      break;
    case WriteResult::WriteFailed:
      reason = "writing zantic.ini failed (the disk may be full, or another program may hold the "
               "file).";
      break;
  }
  return std::string(what) + " could not be saved: " + reason;
}

void ShowMessage(Ports& ports, std::string_view text) {
  ports.boxes.MessageBoxA(text, kBoxTitle, kBoxStyle);
}

bool IsReservedHandle(std::string_view handle) { return handle == "vorn" || handle == "tamsel"; }

bool ReservedHandleGuard(Ports& ports, std::string_view handle) {
  if (!IsReservedHandle(handle)) return false;
  ShowMessage(ports, RebukeMessage);
  WriteHandle(ports, ReplacementHandle);
  return true;
}

}  // namespace zantic
