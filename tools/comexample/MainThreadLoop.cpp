#include "tools/comexample/MainThreadLoop.h"

#include <algorithm>
#include <memory>

#include "serial/Deadline.h"
#include "serial/PendingNotice.h"
#include "serial/SioComWindowProc.h"

bool MainThreadLoop::SendNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam,
                                std::chrono::milliseconds timeout) {
  auto notice = std::make_shared<PendingNotice>();
  post([notice, msg, wParam, lParam] {
    if (!notice->Begin()) return;
    SioComWindowProc(msg, wParam, lParam);
    notice->End();
  });
  return notice->WaitHandled(timeout);
}

void MainThreadLoop::PostNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  post([msg, wParam, lParam] { SioComWindowProc(msg, wParam, lParam); });
}

void MainThreadLoop::post(std::function<void()> task) {
  {
    const std::lock_guard<std::mutex> lock(lock_);
    tasks_.push_back(std::move(task));
  }
  queued_.notify_all();
}

bool MainThreadLoop::runNext(std::chrono::milliseconds wait) {
  std::function<void()> task;
  {
    std::unique_lock<std::mutex> lock(lock_);
    if (!queued_.wait_for(lock, wait, [this] { return !tasks_.empty(); })) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  task();
  return true;
}

bool MainThreadLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
  const Deadline deadline(bound);
  while (!done()) {
    if (deadline.Passed()) return false;
    runNext(std::min(deadline.Remaining(), std::chrono::milliseconds(50)));
  }
  return true;
}

void MainThreadLoop::RunOne() {
  if (std::this_thread::get_id() != mainThread_ || !runNext(std::chrono::milliseconds(0))) {
    // Nothing to run here: keep a waiting caller from spinning.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}
