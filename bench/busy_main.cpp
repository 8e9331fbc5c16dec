// zantic-idle-busy.exe, a reference build for the benchmarks (never the product): the
// program with every wait of its logic the literal busy loop, which pumps events and reads
// the clock over and over and never sleeps.
#include <windows.h>

#include <memory>

#include "ui/win32/program.h"

namespace {

class BusyEventLoop final : public zantic::EventLoop {
 public:
  explicit BusyEventLoop(zantic::EventLoop& own) : own_(own) {}
  void PumpEvents() override { own_.PumpEvents(); }
  double Now() override { return own_.Now(); }
  bool WaitForEvents(double) override { return true; }

 private:
  zantic::EventLoop& own_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  zantic::win32::ProgramHooks hooks;
  hooks.wrap_events = [](zantic::EventLoop& own) { return std::make_unique<BusyEventLoop>(own); };
  return zantic::win32::RunProgram(instance, hooks);
}
