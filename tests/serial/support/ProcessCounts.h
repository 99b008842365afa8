#pragma once
// What this process holds, as the kernel counts it (/proc/self): to see that
// ports coming and going leave no thread, descriptor or memory behind.

#include <cstddef>
#include <cstdint>

size_t ThreadCount();
size_t DescriptorCount();
// Resident set size now (VmRSS), KiB.
int64_t ResidentKiB();
