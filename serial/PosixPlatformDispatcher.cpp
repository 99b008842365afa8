// On POSIX systems the platform dispatcher drives a terminal device.

#include "serial/PlatformDispatcher.h"
#include "serial/SioPosixDispatcher.h"
#include "serial/SioTAPI32Dispatcher.h"

std::unique_ptr<TSioBaseDispatcher> CreatePlatformDispatcher(TSioBaseComponent* owner) {
  return std::make_unique<TSioPosixDispatcher>(owner);
}

std::unique_ptr<TSioBaseDispatcher> CreateTelephonyDispatcher(TSioBaseComponent* owner,
                                                              intptr_t deviceHandle) {
  return std::make_unique<TSioTAPI32Dispatcher>(owner, deviceHandle);
}
