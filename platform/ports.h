// The ports: the operating system's services as small interfaces, one to a file, through
// which the program's logic reaches the world outside it. The Win32 adapters in
// platform/win32 implement them over the real API; the unit tests implement them with
// in-memory fakes.
//
// Texts are UTF-8 everywhere in here (platform/text.h converts). An adapter converts to
// and from the system's ANSI code page exactly where the platform call would.
#pragma once

#include "platform/check_timer.h"
#include "platform/code_page.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/own_window.h"
#include "platform/process.h"
#include "platform/tray_icon.h"
#include "platform/user_input.h"
#include "platform/window_system.h"
