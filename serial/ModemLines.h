#pragma once
// The modem input lines of a serial device.

#include <cstdint>

// Reads CTS, DSR, ring and carrier (TIOCMGET) as kModemCts | kModemDsr |
// kModemRing | kModemCarrier: 0, or the error number (ENOTTY or EINVAL
// when the device has no modem lines, as pseudo-terminals do).
int ReadModemLineBits(int device, uint8_t& lines);

// Whether a failure of ReadModemLineBits means the device has no lines.
bool NoModemLines(int error);
