// Owners of what the window system hands out and wants back: GDI objects and window class
// registrations are released when their owner goes; and the one way a picture is drawn.
#pragma once

#include <windows.h>

#include <utility>

namespace zantic::win32 {

// A font, brush or bitmap, deleted with its owner.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() {
    if (handle_) DeleteObject(handle_);
  }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      if (handle_) DeleteObject(handle_);
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

// A window class, registered for as long as its owner lives.
class WindowClass {
 public:
  WindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style = 0, HCURSOR cursor = nullptr,
              HICON icon = nullptr, HICON small_icon = nullptr)
      : instance_(instance), name_(name) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.style = style;
    cls.lpfnWndProc = proc;
    cls.hInstance = instance;
    cls.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    cls.hIcon = icon;
    cls.hIconSm = small_icon;
    cls.lpszClassName = name;
    atom_ = RegisterClassExW(&cls);
  }
  ~WindowClass() {
    if (atom_) UnregisterClassW(name_, instance_);
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  const wchar_t* name() const { return name_; }

 private:
  HINSTANCE instance_;
  const wchar_t* name_;
  ATOM atom_ = 0;
};

// Draws the bitmap at its own size (cut off at the device context's edges) with its
// top-left corner at (x, y).
inline void Blit(HDC dc, int x, int y, HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace zantic::win32
