#pragma once
// The serial port component the application places on its window. It adds
// nothing to TSioCustomComPort: every property there is already public.

#include "serial/SioCustomComPort.h"

class TSioComPort : public TSioCustomComPort {};
