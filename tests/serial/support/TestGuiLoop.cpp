#include "tests/serial/support/TestGuiLoop.h"

#include <optional>

#include "serial/Deadline.h"
#include "serial/DispatcherRegistry.h"
#include "serial/MessagePump.h"
#include "serial/NoticeReading.h"
#include "serial/PendingNotice.h"
#include "serial/SioMessages.h"

TestGuiLoop::TestGuiLoop()
    : thread_([this] {
        while (runOne(true)) {
        }
      }) {
  SetMessagePump([this] {
    if (!OnLoopThread() || !runOne(false)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
}

TestGuiLoop::~TestGuiLoop() {
  SetMessagePump({});
  {
    const std::lock_guard<std::mutex> lock(lock_);
    quit_ = true;
  }
  queued_.notify_all();
  thread_.join();
}

void TestGuiLoop::SetHandler(Handler handler) {
  auto shared = std::make_shared<const Handler>(std::move(handler));
  const std::lock_guard<std::mutex> lock(lock_);
  handler_ = std::move(shared);
}

void TestGuiLoop::post(std::function<void()> task) {
  {
    const std::lock_guard<std::mutex> lock(lock_);
    tasks_.push_back(std::move(task));
  }
  queued_.notify_all();
}

// Runs the next task; false when the loop is to end (or, without waiting,
// when nothing was queued).
bool TestGuiLoop::runOne(bool waitForTask) {
  std::function<void()> task;
  {
    std::unique_lock<std::mutex> lock(lock_);
    if (waitForTask) queued_.wait(lock, [this] { return quit_ || !tasks_.empty(); });
    if (tasks_.empty()) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  task();
  return true;
}

void TestGuiLoop::Call(const std::function<void()>& task) {
  auto done = std::make_shared<PendingNotice>();
  post([&task, done] {
    done->Begin();
    task();
    done->End();
  });
  done->WaitHandled(std::chrono::hours(1));
}

void TestGuiLoop::handle(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  std::shared_ptr<const Handler> handler;
  {
    const std::lock_guard<std::mutex> lock(lock_);
    handler = handler_;
  }
  const std::lock_guard<std::recursive_mutex> registry(RegistryLock());
  TSioBaseDispatcher* port = DispatcherRegistry::Find(NoticeHandle(lParam));
  if (port == nullptr || !handler || !*handler) return;
  // The handler reads a data notice's bytes as the window procedure's do.
  std::optional<NoticeReading> reading;
  if (msg == TRG_AVAIL || msg == TRG_DATA) reading.emplace(*port);
  (*handler)(*port, msg, wParam, lParam);
}

bool TestGuiLoop::SendNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam,
                             std::chrono::milliseconds timeout) {
  auto notice = std::make_shared<PendingNotice>();
  post([this, notice, msg, wParam, lParam] {
    if (!notice->Begin()) return;
    handle(msg, wParam, lParam);
    notice->End();
  });
  return notice->WaitHandled(timeout);
}

void TestGuiLoop::PostNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  post([this, msg, wParam, lParam] { handle(msg, wParam, lParam); });
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
  const Deadline deadline(bound);
  while (!condition()) {
    if (deadline.Passed()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}
