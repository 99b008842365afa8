#pragma once
// Milliseconds on the monotonic clock, wrapping at 32 bits: the time stamps
// of the serial layer's event log.

#include <cstdint>

uint32_t SioMilliseconds();
