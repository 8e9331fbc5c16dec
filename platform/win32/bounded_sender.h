// Runs blocking calls into other programs' windows on a worker thread and waits for each
// at most a fixed bound, so a client that stops answering cannot hang the program.
//
// Under Wine, SendMessageTimeout does not return at its timeout while the target's
// handler is stuck; a call made on another thread and waited for with a bound does.
// While a call is stuck past its bound, the worker stays busy with it, and every later
// call gives up at once until the stuck one returns. Calls never overlap, so the sends of
// one operation reach the client in order or not at all.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

namespace zantic::win32 {

class BoundedSender {
 public:
  explicit BoundedSender(DWORD bound_ms);
  ~BoundedSender();
  BoundedSender(const BoundedSender&) = delete;
  BoundedSender& operator=(const BoundedSender&) = delete;

  // The call's result, or nothing when the bound passed or an earlier call is still stuck.
  // The waiting thread handles no window events meanwhile.
  std::optional<LRESULT> Run(std::function<LRESULT()> call);

  DWORD bound_ms() const { return bound_ms_; }

 private:
  struct Shared;
  static DWORD WINAPI Worker(void* param);

  DWORD bound_ms_;
  std::shared_ptr<Shared> shared_;
  HANDLE thread_ = nullptr;
};

}  // namespace zantic::win32
