#include "ui/win32/digest_window.h"

#include <algorithm>

#include "core/texts.h"
#include "platform/win32/text_encoding.h"

namespace zantic::win32 {
namespace {

constexpr int kMargin = 8;

HFONT MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

int LineHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight + metrics.tmExternalLeading;
}

}  // namespace

DigestWindow::DigestWindow(HINSTANCE instance, HICON icon)
    : instance_(instance),
      class_(instance, kClassName, &Proc, CS_HREDRAW | CS_VREDRAW, nullptr, icon, icon),
      font_(MessageFont()) {}

DigestWindow::~DigestWindow() {
  if (window_) DestroyWindow(window_);
}

void DigestWindow::Create() {
  CreateWindowOf(kClassName, 0, Utf8ToWide(kDigestCaption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                 RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + 560, CW_USEDEFAULT + 300}, nullptr, 0, instance_);
  if (!window_) return;
  heading_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 0, 0, 0,
                             window_, nullptr, instance_, nullptr);
  text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                              ES_AUTOHSCROLL,
                          0, 0, 0, 0, window_, nullptr, instance_, nullptr);
  SendMessageW(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  SendMessageW(text_, EM_LIMITTEXT, 0, 0);
  RECT client;
  GetClientRect(window_, &client);
  OnSize(client.right, client.bottom);
}

void DigestWindow::ShowDigest(std::string_view heading, std::string_view lines) {
  if (!window_) Create();
  if (!window_) return;
  SetWindowTextW(heading_, Utf8ToWide(heading).c_str());
  SetWindowTextW(text_, Utf8ToWide(lines).c_str());
  ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window_);
  SetFocus(text_);
}

bool DigestWindow::PreTranslate(const MSG& msg) {
  if (!window_ || msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE) return false;
  if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return false;
  PostMessageW(window_, WM_CLOSE, 0, 0);
  return true;
}

LRESULT DigestWindow::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_SIZE:
      OnSize(LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_SETFOCUS:
      if (text_) SetFocus(text_);
      return 0;
    case WM_CTLCOLORSTATIC: {
      // The heading on the window's own background; the read-only box white, for reading.
      auto dc = reinterpret_cast<HDC>(wparam);
      if (reinterpret_cast<HWND>(lparam) == heading_) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
  }
  return Default(msg, wparam, lparam);
}

void DigestWindow::OnSize(int width, int height) {
  if (!heading_ || !text_) return;
  const int line = LineHeight(window_, font_.get());
  MoveWindow(heading_, kMargin, kMargin, std::max(0, width - 2 * kMargin), line, TRUE);
  const int top = kMargin + line + kMargin / 2;
  MoveWindow(text_, kMargin, top, std::max(0, width - 2 * kMargin), std::max(0, height - top - kMargin), TRUE);
}

}  // namespace zantic::win32
