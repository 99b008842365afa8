#pragma once
// What the operating system is told about a port thread: its name, which
// tools that list threads show, and its scheduling priority.

#include <cstdint>

// The calling thread's id, for SetOsThreadPriority.
int64_t CurrentOsThreadId();

// Names the calling thread (at most 15 characters are kept on Linux).
void NameCurrentOsThread(const char* name);

// Sets the thread's priority on the framework's scale: 0 idle, 1 lowest,
// 2 lower, 3 normal, 4 higher, 5 highest, 6 time-critical; values outside
// are clamped. Failures (no permission) are ignored.
void SetOsThreadPriority(int64_t threadId, int priority);
