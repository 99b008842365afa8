#pragma once
// The dispatchers of the platform the program was built for.

#include <cstdint>
#include <memory>

#include "serial/SioBaseDispatcher.h"

class TSioBaseComponent;

// A new, closed dispatcher for owner (none for a probe), ready for
// InitDevice with a device name such as PortDeviceName(n).
std::unique_ptr<TSioBaseDispatcher> CreatePlatformDispatcher(TSioBaseComponent* owner);

// A new, closed telephony dispatcher (TSioTAPI32Dispatcher) for owner, on
// the device the telephony layer opened as deviceHandle.
std::unique_ptr<TSioBaseDispatcher> CreateTelephonyDispatcher(TSioBaseComponent* owner,
                                                              intptr_t deviceHandle);
