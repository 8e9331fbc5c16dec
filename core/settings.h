// The settings file beside the program, which keeps the user's handle, and the guard that
// keeps the user from announcing himself under the handles of the program's author and
// the author's friend.
#pragma once

#include <string>
#include <string_view>

#include "core/profile_file.h"
#include "platform/message_boxes.h"
#include "platform/process.h"

namespace zantic {

// Every message box of the program: the program's name as its title, one OK button, the
// information icon, modal for the whole system.
inline constexpr unsigned kBoxStyle = 0x1040;

// The read buffer holds this many characters, one of them the terminating NUL.
inline constexpr std::size_t kSettingBufferSize = 750;

// The full path of the settings file: the program's folder followed by "\zantic.ini".
std::string SettingsFile(Process& process);

// The stored value, or "" when the file, the section or the key is missing. The key is
// lower-cased; at most 749 characters come back.
std::string ReadSetting(ProfileFile& profile, std::string_view section, std::string_view key,
                        std::string_view file);

// Stores the value under the upper-cased key; the section keeps its case. Says whether the
// value was stored; callers other than "set" leave a failed write unspoken.
WriteResult WriteSetting(ProfileFile& profile, std::string_view section, std::string_view key,
                         std::string_view value, std::string_view file);

// The settings file beside the program, as the program reads and writes it.
struct SettingsStore {
  ProfileFile& profile;
  Process& process;
};

// The stored handle: section "handle", key "handle" of the settings file.
std::string ReadHandle(SettingsStore settings);
WriteResult WriteHandle(SettingsStore settings, std::string_view handle);

// "vorn" or "tamsel", exactly.
bool IsReservedHandle(std::string_view handle);

// True when `handle` is reserved: the rebuke has then been shown and ReplacementHandle
// stored (core/texts.h). False otherwise, having done nothing.
bool ReservedHandleGuard(SettingsStore settings, MessageBoxes& boxes, std::string_view handle);

// Shows a message box with the program's title and style and waits until it is dismissed.
void ShowMessage(MessageBoxes& boxes, std::string_view text);

}  // namespace zantic
