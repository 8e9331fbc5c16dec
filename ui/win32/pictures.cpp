#include "ui/win32/pictures.h"

#include <objbase.h>
#include <objidl.h>

#include <algorithm>
#include <cstring>
#include <memory>

// GDI+'s headers use min and max unqualified.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace zantic::win32 {
namespace {

// GDI+ is started for the decoding only; the bitmaps it hands out are plain GDI bitmaps.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiplusSession() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

struct StreamRelease {
  void operator()(IStream* stream) const { stream->Release(); }
};

std::unique_ptr<IStream, StreamRelease> ResourceStream(HMODULE module, int id) {
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info) return nullptr;
  HGLOBAL handle = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data || size == 0) return nullptr;
  // A stream over a copy of the bytes, which the stream frees: ole32 has made one so since
  // Windows 2000 (shlwapi's stream over memory has its name only from Vista on).
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  void* bytes = copy ? GlobalLock(copy) : nullptr;
  if (!bytes) {
    if (copy) GlobalFree(copy);
    return nullptr;
  }
  std::memcpy(bytes, data, size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return nullptr;
  }
  return std::unique_ptr<IStream, StreamRelease>(stream);
}

}  // namespace

Picture LoadJpegResource(HMODULE module, int id, UINT dpi) {
  GdiplusSession session;
  if (!session.ok()) return {};
  auto stream = ResourceStream(module, id);
  if (!stream) return {};
  Gdiplus::Bitmap source(stream.get());
  if (source.GetLastStatus() != Gdiplus::Ok) return {};
  const int width = static_cast<int>(source.GetWidth());
  const int height = static_cast<int>(source.GetHeight());

  Picture picture;
  const Gdiplus::Color black(255, 0, 0, 0);
  HBITMAP bitmap = nullptr;
  if (dpi == 96) {
    if (source.GetHBITMAP(black, &bitmap) != Gdiplus::Ok) return {};
    picture.bitmap = Bitmap(bitmap);
    picture.size = {width, height};
    return picture;
  }
  const int scaled_width = MulDiv(width, static_cast<int>(dpi), 96);
  const int scaled_height = MulDiv(height, static_cast<int>(dpi), 96);
  Gdiplus::Bitmap scaled(scaled_width, scaled_height, PixelFormat24bppRGB);
  {
    Gdiplus::Graphics graphics(&scaled);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    // Mirrored edges, so the filter does not pull in a dark fringe from outside the picture.
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.DrawImage(&source, Gdiplus::Rect(0, 0, scaled_width, scaled_height), 0, 0, width,
                       height, Gdiplus::UnitPixel, &attributes);
  }
  if (scaled.GetHBITMAP(black, &bitmap) != Gdiplus::Ok) return {};
  picture.bitmap = Bitmap(bitmap);
  picture.size = {scaled_width, scaled_height};
  return picture;
}

}  // namespace zantic::win32
