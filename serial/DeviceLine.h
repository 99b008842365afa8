#pragma once
// Reading the line settings of a device someone else opened (the telephony
// layer hands the port an open device).

#include <cstdint>

#include "serial/Dcb.h"

// The settings of the open device; false when they cannot be read (no such
// descriptor, not a terminal).
bool ReadDeviceLine(intptr_t device, Dcb& dcb);
