// Whole files as bytes: what the settings file needs of the file system.
#pragma once

#include <string>
#include <string_view>

namespace zantic {

// What became of a write to a file.
enum class WriteResult {
  Written,
  FileReadOnly,       // the file is marked read-only
  FolderReadOnly,     // there is no file, and the folder lets no file be made in it
  FileUnreadable,     // the file is there but cannot be read, so it is not overwritten
  FileUnconvertible,  // its text cannot be written back without changing other bytes
  WriteFailed,        // the system refused the write (a full disk, a lock)
};

struct FileBytes {
  enum Status { Read, Missing, Unreadable } status = Missing;
  std::string bytes;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Paths are UTF-8.
  virtual FileBytes ReadWholeFile(std::string_view path) = 0;
  // Replaces the file's content in one step (written beside it, then put in its place), so
  // it is never left half written; where the folder takes no new file but the file itself
  // may be written, writes it in place. Leaves no other file behind.
  virtual WriteResult ReplaceWholeFile(std::string_view path, std::string_view bytes) = 0;
};

}  // namespace zantic
