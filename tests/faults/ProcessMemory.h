#pragma once
// How much memory this process holds, as the kernel counts it (/proc/self/status), to check
// that a fault does not make the panel take memory without bound.

#include <cstdint>

// Resident set size now (VmRSS), MiB.
int64_t ResidentMiB();

// Largest resident set size since the last ResetPeakResident (VmHWM), MiB.
int64_t PeakResidentMiB();

// Starts a new peak at the current resident set size.
void ResetPeakResident();
