// On POSIX systems a port is a terminal device or, when its link names one,
// a serial server on the network.

#include "serial/PlatformDispatcher.h"
#include "serial/PortPath.h"
#include "serial/SioPosixDispatcher.h"
#include "serial/SioTAPI32Dispatcher.h"
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
