// On POSIX systems a port is a terminal device or, when its link names one,
// a serial server on the network.

#include "serial/PlatformDispatcher.h"
#include "serial/PortPath.h"
#include "serial/SioPosixDispatcher.h"
#include "serial/SioTAPI32Dispatcher.h"
#include "serial/TermiosLine.h"
#include "serial/net/SioNetDispatcher.h"

std::unique_ptr<TSioBaseDispatcher> CreatePlatformDispatcher(TSioBaseComponent* owner,
                                                             const std::string& deviceName) {
  if (ServerOfPort(deviceName)) return std::make_unique<TSioNetDispatcher>(owner);
  return std::make_unique<TSioPosixDispatcher>(owner);
}

std::unique_ptr<TSioBaseDispatcher> CreateTelephonyDispatcher(TSioBaseComponent* owner,
                                                              intptr_t deviceHandle) {
  return std::make_unique<TSioTAPI32Dispatcher>(owner, deviceHandle);
}

bool ReadDeviceLine(intptr_t device, Dcb& dcb) {
  termios2 line{};
  if (device < 0 || ReadTermios(static_cast<int>(device), line) != 0) return false;
  dcb = TermiosToDcb(line, Dcb{});
  return true;
}
