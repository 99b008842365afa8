// Port threads on Linux: priorities are nice values of the thread.

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include "serial/OsThread.h"

namespace {

// Nice values for the framework's priorities idle .. time-critical.
constexpr int kNiceOfPriority[] = {19, 10, 5, 0, -5, -10, -20};

}  // namespace

int64_t CurrentOsThreadId() { return gettid(); }

void NameCurrentOsThread(const char* name) { pthread_setname_np(pthread_self(), name); }

void SetOsThreadPriority(int64_t threadId, int priority) {
  setpriority(PRIO_PROCESS, static_cast<id_t>(threadId),
              kNiceOfPriority[std::clamp(priority, 0, 6)]);
}
