#pragma once
// Opening a serial device for this program's sole use and giving it back.

#include <string>

#include "serial/UucpLock.h"

// Opens path read-write, non-blocking, without making it the controlling
// terminal and closed on exec, then takes it for sole use: the UUCP lock
// file tells other serial programs (and honours theirs), an advisory lock
// keeps out a second open even by root, and exclusive mode keeps out other
// programs. 0 with the descriptor in device and the UUCP lock in lock, or
// the error number: ENODEV for a serial node without hardware behind it,
// EWOULDBLOCK or EBUSY for a device another program holds, and what open or
// the terminal layer said.
int OpenSerialDevice(const std::string& path, int& device, UucpLock& lock);

// Gives up sole use (exclusive mode off, locks released) and closes the
// descriptor, so the next program can open the device: 0, or the error
// number of close.
int CloseSerialDevice(int device, UucpLock& lock);
