#pragma once
// The example's GUI thread: the main thread runs the port's notices while it
// waits in RunUntil. As a notify target it hands each notice over and, for a
// sent one, waits until it has run or the time is up.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "serial/NotifyTarget.h"

class MainThreadLoop : public NotifyTarget {
 public:
  MainThreadLoop() : mainThread_(std::this_thread::get_id()) {}

  bool SendNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam,
                  std::chrono::milliseconds timeout) override;
  void PostNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;

  // Runs notices on the main thread until done() holds or the bound passes;
  // whether done() held.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds bound);
  // Runs one waiting notice when called on the main thread (the message pump).
  void RunOne();

 private:
  void post(std::function<void()> task);
  bool runNext(std::chrono::milliseconds wait);

  const std::thread::id mainThread_;
  std::mutex lock_;
  std::condition_variable queued_;
  std::deque<std::function<void()>> tasks_;
};
