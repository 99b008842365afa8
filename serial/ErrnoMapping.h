#pragma once
// The one place where an operating-system error number becomes the serial
// layer's error code.

#include <cstdint>

// Where the error came from: opening a device, whose failures the component
// names by what they mean for the port, or a device already open, whose
// failures are reported as the system gave them.
enum class ErrnoContext { Opening, Open };

// Opening: 2 when the device does not exist or has gone (no such file or
// device, no hardware behind the node, not a terminal, I/O error), 5 when
// another program holds it (busy, exclusively locked), EACCES for a refused
// permission of either kind (its own text tells the operator what to fix),
// otherwise the error number itself.
// Open: the error number itself; only EPERM still becomes EACCES.
int32_t SioErrorOfErrno(int error, ErrnoContext context = ErrnoContext::Opening);
