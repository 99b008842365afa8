// On Windows the platform dispatcher drives a Win32 COM device.

#include <windows.h>

#include "serial/PlatformDispatcher.h"
#include "serial/SioWin32Dispatcher.h"
#include "serial/Win32Records.h"
#include "serial/Win32TAPI32Dispatcher.h"

// Network targets are links in the start-up directory, which Windows ports do not have.
std::unique_ptr<TSioBaseDispatcher> CreatePlatformDispatcher(TSioBaseComponent* owner,
                                                             const std::string&) {
  return std::make_unique<TSioWin32Dispatcher>(owner);
}

std::unique_ptr<TSioBaseDispatcher> CreateTelephonyDispatcher(TSioBaseComponent* owner,
                                                              intptr_t deviceHandle) {
  return std::make_unique<TSioTAPI32Dispatcher>(owner, deviceHandle);
}

bool ReadDeviceLine(intptr_t device, Dcb& dcb) {
  DCB line{};
  line.DCBlength = sizeof(line);
  if (device <= 0 || !GetCommState(reinterpret_cast<HANDLE>(device), &line)) return false;
  dcb = FromWin32Dcb(line);
  return true;
}
