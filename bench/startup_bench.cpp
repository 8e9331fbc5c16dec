// Start-up: from the process's start to its window shown and painted, with the stand-in
// running and no settings file, next to a program that only shows a window; and the
// executable's size.
#include "bench/benchmarks.h"
#include "bench/report.h"
#include "bench/session.h"
#include "ui/win32/form1_window.h"

namespace bench {
namespace {

struct Start {
  double shown_ms = -1, painted_ms = -1;
  Memory memory;
};

// One start in a fresh folder: the window of the class, visible, then painted (the pixel
// where the main window's green line begins is green).
Start StartOnce(const std::wstring& exe, const wchar_t* window_class) {
  Start start;
  const std::wstring dir = drive::MakeTempDir(L"startup");
  const std::wstring copy = dir + L"\\" + exe;
  if (!CopyFileW((drive::BuildDir() + L"\\" + exe).c_str(), copy.c_str(), FALSE)) return start;
  const double t0 = Now();
  HANDLE process = drive::StartProgram(copy, L"", dir);
  if (!process) return start;
  const DWORD pid = GetProcessId(process);
  HWND window = nullptr;
  HDC screen = GetDC(nullptr);
  while (Now() - t0 < 20) {
    if (!window) {
      for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, window_class, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) window = w;
      }
      if (window) start.shown_ms = (Now() - t0) * 1000;
    }
    if (window) {
      RECT r;
      GetWindowRect(window, &r);
      if (drive::IsGreen(GetPixel(screen, r.left + drive::Px(drive::kLineX), r.top))) {
        start.painted_ms = (Now() - t0) * 1000;
        break;
      }
    }
    Sleep(1);
  }
  ReleaseDC(nullptr, screen);
  SleepFor(1);
  start.memory = MemoryOf(process);
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
  drive::WaitUntil([&] { return !window || !IsWindow(window); }, std::chrono::seconds(5));
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(dir.c_str());
  return start;
}

double FileSizeKiB(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) / 1024;
}

}  // namespace

int StartupBench(int count) {
  drive::Sim sim;
  if (!sim.Ready()) {
    Detail("startup: the stand-in did not start");
    return 2;
  }
  std::vector<double> ours_shown, ours_painted, bare_painted, ours_ws, bare_ws;
  for (int i = 0; i < count; ++i) {
    const Start bare = StartOnce(L"bare_window.exe", L"ZanticBareWindow");
    const Start ours = StartOnce(L"zantic-idle.exe", zantic::win32::Form1Window::kClassName);
    if (bare.painted_ms >= 0) bare_painted.push_back(bare.painted_ms), bare_ws.push_back(bare.memory.working_set_mb);
    if (ours.painted_ms >= 0) {
      ours_shown.push_back(ours.shown_ms);
      ours_painted.push_back(ours.painted_ms);
      ours_ws.push_back(ours.memory.working_set_mb);
    }
  }
  const Spread s = SpreadOf(ours_painted), b = SpreadOf(bare_painted), v = SpreadOf(ours_shown);
  Row("5 Start-up", Format("process start to Form1 shown and painted, ms: median / min / max (n = %zu of %d)", s.n, count),
      Format("%.0f / %.0f / %.0f", s.median, s.min, s.max),
      Format("a bare window: %.0f / %.0f / %.0f; ours is %.1f times it", b.median, b.min, b.max, s.median / b.median));
  Detail(Format("startup: Form1 visible (before its first paint) after %.0f ms (median)", v.median));
  Row("5 Start-up", "working set 1 s after start, MB (median)", Format("%.1f", SpreadOf(ours_ws).median),
      Format("a bare window: %.1f", SpreadOf(bare_ws).median));
  Row("5 Start-up", "size of the executable, KiB", Format("%.0f", FileSizeKiB(drive::BuildDir() + L"\\zantic-idle.exe")),
      Format("a bare window: %.0f", FileSizeKiB(drive::BuildDir() + L"\\bare_window.exe")));
  return static_cast<int>(s.n) == count ? 0 : 1;
}

}  // namespace bench
