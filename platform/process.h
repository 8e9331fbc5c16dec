// The program as a process.
#pragma once

#include <string>

namespace zantic {

class Process {
 public:
  virtual ~Process() = default;
  // The folder that holds the program's executable, as the platform reports it
  // (no trailing separator unless it is a drive's root).
  virtual std::string ProgramDirectory() = 0;
  // Ends the program at once: every window closes and the process exits. Does not return
  // in the product.
  virtual void EndProgram() = 0;
};

}  // namespace zantic
