#pragma once
// Opening a serial device for this program's sole use and giving it back.

#include <string>

// Opens path read-write, non-blocking, without making it the controlling
// terminal and closed on exec, then takes it for sole use: an advisory lock
// keeps out a second open even by root, and exclusive mode keeps out other
// programs. 0 with the descriptor in device, or the error number: ENODEV
// for a serial node without hardware behind it, EWOULDBLOCK or EBUSY for a
// device another open holds, and what open or the terminal layer said.
int OpenSerialDevice(const std::string& path, int& device);

// Gives up sole use (exclusive mode off, lock released) and closes the
// descriptor, so the next program can open the device: 0, or the error
// number of close.
int CloseSerialDevice(int device);
