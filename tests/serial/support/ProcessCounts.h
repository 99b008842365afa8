#pragma once
// What this process holds, as the kernel counts it (/proc/self): to see that
// ports coming and going leave no thread, descriptor or memory behind.

#include <cstddef>
#include <cstdint>

size_t ThreadCount();
size_t DescriptorCount();
// Resident set size now (VmRSS), KiB.
int64_t ResidentKiB();

// All three at one moment, to compare with later.
struct ProcessFootprint {
  size_t Threads = 0;
  size_t Descriptors = 0;
  int64_t ResidentKiB = 0;
};
ProcessFootprint TakeFootprint();
