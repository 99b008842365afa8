#pragma once
// The kernel's RS-485 mode of a serial device: the driver raises RTS while
// it sends and drops it once the last bit is out, with no help from the
// program. Only drivers of RS-485-capable UARTs have it.

// Switches the mode on (RTS raised for sending, dropped after) or off: 0, or
// the error number (ENOTTY or EINVAL from a driver without RS-485 support).
int SetKernelRs485(int device, bool on);
