// The window "zantic idle - while you were away": an ordinary, resizable window (not on
// top of the others) with a heading line and a read-only text box of one mention a line,
// which the user can select and copy. Escape or its close button closes it.
#pragma once

#include <windows.h>

#include "ui/digest_view.h"
#include "ui/win32/base_window.h"
#include "ui/win32/gdi.h"

namespace zantic::win32 {

class DigestWindow final : public BaseWindow<DigestWindow>, public DigestView {
 public:
  static constexpr wchar_t kClassName[] = L"ZanticIdleDigest";

  DigestWindow(HINSTANCE instance, HICON icon);
  ~DigestWindow() override;

  void ShowDigest(std::string_view heading, std::string_view lines) override;
  // The event loop's first look at each message: Escape in the window closes it.
  bool PreTranslate(const MSG& msg);

  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  void Create();
  void OnSize(int width, int height);

  HINSTANCE instance_;
  WindowClass class_;
  Font font_;
  HWND heading_ = nullptr, text_ = nullptr;
};

}  // namespace zantic::win32
