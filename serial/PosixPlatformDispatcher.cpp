// On POSIX systems the platform dispatcher drives a terminal device.

#include "serial/PlatformDispatcher.h"
#include "serial/SioPosixDispatcher.h"

std::unique_ptr<TSioBaseDispatcher> CreatePlatformDispatcher(TSioBaseComponent* owner) {
  return std::make_unique<TSioPosixDispatcher>(owner);
}
