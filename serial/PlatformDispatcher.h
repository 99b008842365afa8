#pragma once
// The dispatcher of the platform the program was built for.

#include <memory>

#include "serial/SioBaseDispatcher.h"

class TSioBaseComponent;

// A new, closed dispatcher for owner (none for a probe), ready for
// InitDevice with a device name such as PortDeviceName(n).
std::unique_ptr<TSioBaseDispatcher> CreatePlatformDispatcher(TSioBaseComponent* owner);
