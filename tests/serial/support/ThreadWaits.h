#pragma once
// What the threads of this process are waiting in, as the kernel reports it
// (/proc/self/task): lets a test see that a thread sleeps, and sleeps with
// no time limit, without sleeping itself to find out.

#include <string>
#include <vector>

struct ThreadWait {
  int Tid = 0;
  std::string Name;
  // In a system call that waits with no time limit: poll or ppoll without a
  // timeout, a futex wait without one.
  bool WaitsWithoutTimeLimit = false;
};

// The threads whose name starts with prefix.
std::vector<ThreadWait> ThreadsNamed(const std::string& prefix);

// Waits (bounded) until count threads named with prefix exist and every one
// of them waits with no time limit; whether that came.
bool AllSleepWithoutTimeLimit(const std::string& prefix, size_t count);
