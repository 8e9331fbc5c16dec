// The shape every window of the program's own takes: an object of class T stands behind
// the window, kept in its GWLP_USERDATA from its creation on, and the window procedure
// hands each message to T::HandleMessage, a flat switch that gives each message it handles
// to a small OnXxx member and the rest to Default.
#pragma once

#include <windows.h>

namespace zantic::win32 {

template <typename T>
class BaseWindow {
 public:
  HWND Handle() const { return window_; }

  // The window procedure of T's window class.
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    T* self = nullptr;
    if (msg == WM_NCCREATE) {
      self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      self->window_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(window, msg, wparam, lparam);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
      return DefWindowProcW(window, msg, wparam, lparam);
    }
    return self->HandleMessage(msg, wparam, lparam);
  }

 protected:
  BaseWindow() = default;
  ~BaseWindow() {
    if (window_) DestroyWindow(window_);
  }
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  // Creates the window of class `cls` (registered with Proc) with this object behind it.
  HWND CreateWindowOf(const wchar_t* cls, DWORD ex_style, const wchar_t* text, DWORD style, const RECT& rect,
                      HWND parent, int id, HINSTANCE instance) {
    CreateWindowExW(ex_style, cls, text, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                    instance, static_cast<T*>(this));
    return window_;
  }

  LRESULT Default(UINT msg, WPARAM wparam, LPARAM lparam) { return DefWindowProcW(window_, msg, wparam, lparam); }

  HWND window_ = nullptr;
};

}  // namespace zantic::win32
