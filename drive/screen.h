// What the screen shows: pixels of a rectangle, saved for a person to look at.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace drive {

struct Shot {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// The pixels of a rectangle of a device context.
Shot Copy(HDC source, int x, int y, int width, int height);
// The pixels of a rectangle of the screen.
Shot Grab(const RECT& r);
// Saves the shot as a 24-bit BMP file.
bool SaveBmp(const Shot& shot, const std::wstring& path);
// Saves the shot as a PNG file (encoded by the platform's GDI+).
bool SavePng(const Shot& shot, const std::wstring& path);

bool IsGreen(COLORREF c);
int ChannelDistance(COLORREF a, COLORREF b);

}  // namespace drive
