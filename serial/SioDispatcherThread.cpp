#include "serial/SioDispatcherThread.h"

#include <thread>

#include "serial/ExceptionDisplay.h"
#include "serial/OsThread.h"
#include "serial/SioBaseDispatcher.h"

namespace {

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

}  // namespace

void TSioDispatcherThread::SetPriority(int priority) {
  const std::lock_guard<std::mutex> lock(priorityLock_);
  priority_ = priority;
  priorityWanted_ = true;
  if (tid_ != 0) applyPriority();
}

void TSioDispatcherThread::applyPriority() { SetOsThreadPriority(tid_, priority_); }

void TSioDispatcherThread::Launch(std::unique_ptr<TSioDispatcherThread> thread, ThreadRole role) {
  thread->role_ = role;
  TSioDispatcherThread* raw = thread.get();
  std::thread([raw] { std::unique_ptr<TSioDispatcherThread>(raw)->run(); }).detach();
  thread.release();
}

void TSioDispatcherThread::run() {
  NameCurrentOsThread(threadName(role_));
  {
    const std::lock_guard<std::mutex> lock(priorityLock_);
    tid_ = CurrentOsThreadId();
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
