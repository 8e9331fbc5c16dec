// zantic idle: the program's entry point.
#include <windows.h>

#include "ui/win32/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return zantic::win32::RunProgram(instance); }
