// zantic idle as a whole: the Win32 adapters, the main window and its logic wired together,
// the load sequence run, the window shown, and its events handled until the program ends
// through the window's "X" label.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "aol/transcript.h"
#include "platform/event_loop.h"

namespace zantic::win32 {

// What the benchmarks' reference builds change (bench/): the product passes none.
struct ProgramHooks {
  // Puts another event loop in front of the program's own for every wait of its logic.
  std::function<std::unique_ptr<EventLoop>(EventLoop& own)> wrap_events;
  // Sees every line the chat scanner reports, on the user-interface thread.
  std::function<void(const std::vector<ChatLineReport>&)> on_chat_lines;
};

// Returns the process's exit code.
int RunProgram(HINSTANCE instance, const ProgramHooks& hooks = {});

}  // namespace zantic::win32
