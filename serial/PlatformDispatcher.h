#pragma once
// The dispatchers of the platform the program was built for, of the kind the
// port's device name calls for.

#include <cstdint>
#include <memory>
#include <string>

#include "serial/Dcb.h"
#include "serial/SioBaseDispatcher.h"

class TSioBaseComponent;

// A new, closed dispatcher for owner (none for a probe), ready for
// InitDevice with deviceName, such as PortDeviceName(n).
std::unique_ptr<TSioBaseDispatcher> CreatePlatformDispatcher(TSioBaseComponent* owner,
                                                             const std::string& deviceName);

// A new, closed telephony dispatcher (TSioTAPI32Dispatcher) for owner, on
// the device the telephony layer opened as deviceHandle.
std::unique_ptr<TSioBaseDispatcher> CreateTelephonyDispatcher(TSioBaseComponent* owner,
                                                              intptr_t deviceHandle);

// The line settings of that device, which someone else opened; false when
// they cannot be read (no such device, not a serial line).
bool ReadDeviceLine(intptr_t device, Dcb& dcb);
