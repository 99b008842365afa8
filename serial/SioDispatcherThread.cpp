#include "serial/SioDispatcherThread.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <thread>

#include "serial/ExceptionDisplay.h"
#include "serial/SioBaseDispatcher.h"

namespace {

// Nice values for the framework's priorities idle .. time-critical.
constexpr int kNiceOfPriority[] = {19, 10, 5, 0, -5, -10, -20};

// What tools such as top and /proc show for each port thread.
const char* threadName(ThreadRole role) {
  switch (role) {
    case ThreadRole::Read:
      return "sio read";
    case ThreadRole::Dispatch:
      return "sio dispatch";
    case ThreadRole::Write:
      return "sio write";
    case ThreadRole::Status:
      return "sio status";
  }
  return "sio";
}

int niceOf(int priority) {
  if (priority < 0) priority = 0;
  if (priority > 6) priority = 6;
  return kNiceOfPriority[priority];
}

}  // namespace

void TSioDispatcherThread::SetPriority(int priority) {
  const std::lock_guard<std::mutex> lock(priorityLock_);
  niceValue_ = niceOf(priority);
  priorityWanted_ = true;
  if (tid_ != 0) applyPriority();
}

void TSioDispatcherThread::applyPriority() {
  setpriority(PRIO_PROCESS, static_cast<id_t>(tid_), niceValue_);
}

void TSioDispatcherThread::Launch(std::unique_ptr<TSioDispatcherThread> thread, ThreadRole role) {
  thread->role_ = role;
  TSioDispatcherThread* raw = thread.get();
  std::thread([raw] { std::unique_ptr<TSioDispatcherThread>(raw)->run(); }).detach();
  thread.release();
}

void TSioDispatcherThread::run() {
  pthread_setname_np(pthread_self(), threadName(role_));
  {
    const std::lock_guard<std::mutex> lock(priorityLock_);
    tid_ = static_cast<int>(gettid());
    if (priorityWanted_) applyPriority();
  }
  TSioBaseDispatcher& dispatcher = dispatcher_;
  dispatcher.ThreadStarted();
  try {
    Execute();
  } catch (...) {
    ShowCurrentException();
  }
  try {
    BeforeFinish();
  } catch (...) {
    ShowCurrentException();
  }
  dispatcher.ThreadFinished(*this);
}
