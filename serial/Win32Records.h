#pragma once
// The serial layer's records in the Win32 layout and the Win32 records they
// stand for, and the time limits of Win32 waits.

#include <windows.h>

#include <bit>
#include <chrono>

#include "serial/ComStat.h"
#include "serial/Dcb.h"

static_assert(sizeof(DCB) == sizeof(Dcb), "Dcb must keep the Win32 layout");
static_assert(sizeof(COMSTAT) == sizeof(ComStat), "ComStat must keep the Win32 layout");

inline DCB ToWin32Dcb(const Dcb& dcb) { return std::bit_cast<DCB>(dcb); }

inline Dcb FromWin32Dcb(const DCB& win32) { return std::bit_cast<Dcb>(win32); }

inline ComStat FromWin32ComStat(const COMSTAT& win32) { return std::bit_cast<ComStat>(win32); }

// A wait's time limit in milliseconds, short of INFINITE.
inline DWORD Win32WaitMilliseconds(std::chrono::milliseconds timeout) {
  if (timeout.count() <= 0) return 0;
  if (timeout.count() >= static_cast<long long>(INFINITE)) return INFINITE - 1;
  return static_cast<DWORD>(timeout.count());
}
