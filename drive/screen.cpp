#include "drive/screen.h"

#include <objidl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

// GDI+'s headers use min and max unqualified.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace drive {

Shot Copy(HDC source, int x, int y, int width, int height) {
  Shot shot;
  shot.width = width;
  shot.height = height;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC memory = CreateCompatibleDC(source);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  const auto* bgra = static_cast<const std::uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i) {
    shot.pixels.push_back(RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]));
  }
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  return shot;
}

Shot Grab(const RECT& r) {
  HDC screen = GetDC(nullptr);
  Shot shot = Copy(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
  ReleaseDC(nullptr, screen);
  return shot;
}

bool SaveBmp(const Shot& shot, const std::wstring& path) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  const DWORD row = static_cast<DWORD>((shot.width * 3 + 3) & ~3);
  info.biSize = sizeof info;
  info.biWidth = shot.width;
  info.biHeight = shot.height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = row * static_cast<DWORD>(shot.height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<char> line(row, 0);
  for (int y = shot.height - 1; y >= 0; --y) {
    for (int x = 0; x < shot.width; ++x) {
      const COLORREF c = shot.At(x, y);
      line[static_cast<std::size_t>(3 * x)] = static_cast<char>(GetBValue(c));
      line[static_cast<std::size_t>(3 * x + 1)] = static_cast<char>(GetGValue(c));
      line[static_cast<std::size_t>(3 * x + 2)] = static_cast<char>(GetRValue(c));
    }
    out.write(line.data(), static_cast<std::streamsize>(row));
  }
  return static_cast<bool>(out);
}

bool SavePng(const Shot& shot, const std::wstring& path) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  bool saved = false;
  {
    // 32-bit RGB rows as GDI+ keeps them: blue in the lowest byte.
    std::vector<std::uint32_t> rows;
    rows.reserve(shot.pixels.size());
    for (COLORREF c : shot.pixels) {
      rows.push_back(static_cast<std::uint32_t>(GetRValue(c)) << 16 |
                     static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c));
    }
    Gdiplus::Bitmap bitmap(shot.width, shot.height, shot.width * 4, PixelFormat32bppRGB,
                           reinterpret_cast<BYTE*>(rows.data()));
    // The platform's PNG encoder.
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    saved = bitmap.GetLastStatus() == Gdiplus::Ok &&
            bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
  }
  Gdiplus::GdiplusShutdown(token);
  return saved;
}

bool IsGreen(COLORREF c) { return GetGValue(c) >= 200 && GetRValue(c) < 100 && GetBValue(c) < 100; }

int ChannelDistance(COLORREF a, COLORREF b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

}  // namespace drive
