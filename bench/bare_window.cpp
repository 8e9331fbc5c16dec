// The start-up benchmark's reference: a program that does nothing but show a window of
// the main window's size, painted in one colour. Its start-up is what any program pays
// under the platform before it can show a window.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = instance;
  cls.hbrBackground = CreateSolidBrush(RGB(0, 255, 0));
  cls.lpszClassName = L"ZanticBareWindow";
  RegisterClassW(&cls);
  const int width = MulDiv(3420, 96, 1440), height = MulDiv(855, 96, 1440);
  HWND window = CreateWindowExW(WS_EX_TOPMOST, cls.lpszClassName, L"bare window", WS_POPUP,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                                nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
