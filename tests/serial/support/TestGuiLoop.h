#pragma once
// A stand-in for the application's GUI thread: one thread running queued
// tasks in order. As a notify target it runs each notice there, under the
// RegistryLock with the dispatcher found by the notice's handle, the way the
// component's notify window does; it also serves as the process's message
// pump while it exists.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "serial/NotifyTarget.h"

class TSioBaseDispatcher;

class TestGuiLoop : public NotifyTarget {
 public:
  using Handler = std::function<void(TSioBaseDispatcher& port, uint32_t msg, uintptr_t wParam,
                                     intptr_t lParam)>;

  TestGuiLoop();
  ~TestGuiLoop() override;

  void SetHandler(Handler handler);
  // Runs task on the loop's thread and waits for it.
  void Call(const std::function<void()>& task);
  bool OnLoopThread() const { return std::this_thread::get_id() == thread_.get_id(); }

  bool SendNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam,
                  std::chrono::milliseconds timeout) override;
  void PostNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;

 private:
  void post(std::function<void()> task);
  bool runOne(bool waitForTask);
  void handle(uint32_t msg, uintptr_t wParam, intptr_t lParam);

  std::mutex lock_;
  std::condition_variable queued_;
  std::deque<std::function<void()>> tasks_;
  bool quit_ = false;
  // Shared, so a notice takes it without copying the function.
  std::shared_ptr<const Handler> handler_;
  std::thread thread_;
};

// Polls condition until it holds or the bound passes; whether it held.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds bound = std::chrono::milliseconds(10000));
