// Port threads on Windows: the framework's priorities are the Win32 thread
// priorities of the same names.

#include <windows.h>

#include <algorithm>
#include <string>

#include "serial/OsThread.h"

namespace {

constexpr int kWin32Priority[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,
                                  THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                                  THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                                  THREAD_PRIORITY_TIME_CRITICAL};

using SetThreadDescriptionCall = HRESULT(WINAPI*)(HANDLE, PCWSTR);

// SetThreadDescription exists from Windows 10 on; older systems keep their
// threads unnamed.
SetThreadDescriptionCall setThreadDescription() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<SetThreadDescriptionCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetThreadDescription")));
}

}  // namespace

int64_t CurrentOsThreadId() { return GetCurrentThreadId(); }

void NameCurrentOsThread(const char* name) {
  static const SetThreadDescriptionCall describe = setThreadDescription();
  if (describe == nullptr) return;
  // The names are ASCII.
  const std::wstring wide(name, name + std::char_traits<char>::length(name));
  describe(GetCurrentThread(), wide.c_str());
}

void SetOsThreadPriority(int64_t threadId, int priority) {
  HANDLE thread = OpenThread(THREAD_SET_INFORMATION, FALSE, static_cast<DWORD>(threadId));
  if (thread == nullptr) return;
  SetThreadPriority(thread, kWin32Priority[std::clamp(priority, 0, 6)]);
  CloseHandle(thread);
}
