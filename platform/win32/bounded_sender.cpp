#include "platform/win32/bounded_sender.h"

#include <mutex>

namespace zantic::win32 {

struct BoundedSender::Shared {
  struct Job {
    std::function<LRESULT()> call;
    LRESULT result = 0;
    HANDLE done = nullptr;
    ~Job() {
      if (done) CloseHandle(done);
    }
  };

  std::mutex mutex;
  std::shared_ptr<Job> pending;  // handed to the worker
  bool busy = false;             // the worker is inside a call
  bool stop = false;
  HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);

  ~Shared() { CloseHandle(wake); }
};

BoundedSender::BoundedSender(DWORD bound_ms)
    : bound_ms_(bound_ms), shared_(std::make_shared<Shared>()) {
  // The worker keeps its own reference: it may still be stuck in a call when we go.
  auto* keep = new std::shared_ptr<Shared>(shared_);
  thread_ = CreateThread(nullptr, 64 * 1024, &BoundedSender::Worker, keep, 0, nullptr);
}

BoundedSender::~BoundedSender() {
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->stop = true;
  }
  SetEvent(shared_->wake);
  // Do not wait for a worker that is stuck in another program's window procedure.
  if (thread_) CloseHandle(thread_);
}

DWORD WINAPI BoundedSender::Worker(void* param) {
  std::shared_ptr<Shared> shared = std::move(*static_cast<std::shared_ptr<Shared>*>(param));
  delete static_cast<std::shared_ptr<Shared>*>(param);
  for (;;) {
    WaitForSingleObject(shared->wake, INFINITE);
    std::shared_ptr<Shared::Job> job;
    {
      std::lock_guard<std::mutex> lock(shared->mutex);
      if (shared->stop) return 0;
      job = std::move(shared->pending);
    }
    if (!job) continue;
    job->result = job->call();
    {
      // Free before signalling, so a caller that goes straight on to its next call finds
      // the worker ready.
      std::lock_guard<std::mutex> lock(shared->mutex);
      shared->busy = false;
    }
    SetEvent(job->done);
  }
}

std::optional<LRESULT> BoundedSender::Run(std::function<LRESULT()> call) {
  auto job = std::make_shared<Shared::Job>();
  job->call = std::move(call);
  job->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (shared_->busy || !thread_) return std::nullopt;
    shared_->busy = true;
    shared_->pending = job;
  }
  SetEvent(shared_->wake);
  if (WaitForSingleObject(job->done, bound_ms_) != WAIT_OBJECT_0) return std::nullopt;
  return job->result;
}

}  // namespace zantic::win32
