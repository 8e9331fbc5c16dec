// The window's pictures: JPEG resources decoded by the platform (GDI+).
#pragma once

#include <windows.h>

#include "ui/win32/gdi.h"

namespace zantic::win32 {

struct Picture {
  Bitmap bitmap;
  SIZE size{};  // in pixels, as drawn
};

// Decodes the JPEG held in the RCDATA resource `id` of `module`. At 96 DPI the picture
// keeps its own size; at any other DPI it is scaled by dpi / 96 with a high-quality
// bicubic filter, so it keeps its size relative to the window. An empty Picture when the
// resource is missing or does not decode.
Picture LoadJpegResource(HMODULE module, int id, UINT dpi);

}  // namespace zantic::win32
