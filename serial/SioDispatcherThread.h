#pragma once
// The base of the four port threads. A thread is launched running by its
// dispatcher (TSioBaseDispatcher::StartThread) and frees itself when its body
// ends; around the body it reports ThreadStarted and, however the body ends,
// ThreadFinished, after which it no longer touches its dispatcher.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

class TSioBaseDispatcher;

enum class ThreadRole { Read, Dispatch, Write, Status };

class TSioDispatcherThread {
 public:
  explicit TSioDispatcherThread(TSioBaseDispatcher& dispatcher) : dispatcher_(dispatcher) {}
  virtual ~TSioDispatcherThread() = default;
  TSioDispatcherThread(const TSioDispatcherThread&) = delete;
  TSioDispatcherThread& operator=(const TSioDispatcherThread&) = delete;

  TSioBaseDispatcher& Dispatcher() const { return dispatcher_; }
  ThreadRole Role() const { return role_; }

  // The thread's result code: 0 normal end, else the code of its failure.
  int32_t ReturnValue() const { return returnValue_.load(); }
  void SetReturnValue(int32_t value) { returnValue_.store(value); }

  // Asks the body to end at its next loop test.
  void Terminate() { terminated_.store(true); }
  bool Terminated() const { return terminated_.load(); }

  // Sets the scheduling priority on the framework's scale (0 idle, 3 normal,
  // 6 time-critical, see SetOsThreadPriority); applied when the thread runs
  // if it has not started yet. Failures (no permission) are ignored.
  void SetPriority(int priority);

 protected:
  // The thread's work; runs between ThreadStarted and ThreadFinished.
  virtual void Execute() = 0;
  // Runs after Execute however it ended, just before ThreadFinished.
  virtual void BeforeFinish() {}

 private:
  friend class TSioBaseDispatcher;

  // Runs thread on a new detached thread that owns it; only the dispatcher
  // launches, so that it counts every thread it starts.
  static void Launch(std::unique_ptr<TSioDispatcherThread> thread, ThreadRole role);
  void run();
  void applyPriority();

  TSioBaseDispatcher& dispatcher_;
  ThreadRole role_ = ThreadRole::Dispatch;
  std::atomic<int32_t> returnValue_{0};
  std::atomic<bool> terminated_{false};
  std::mutex priorityLock_;
  int64_t tid_ = 0;
  int priority_ = 0;
  bool priorityWanted_ = false;
};
