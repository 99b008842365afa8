#pragma once
// The one place where an operating-system error number becomes the serial
// layer's error code.

#include <cstdint>

// 2 when the device does not exist or has gone (no such file or device, no
// hardware behind the node, not a terminal, I/O error) or its server cannot
// be reached (no such host, refused, unreachable, timed out), 5 when another
// program holds it (busy, exclusively locked), EACCES for a refused
// permission of either kind (its own text tells the operator what to fix),
// otherwise the error number itself.
int32_t SioErrorOfErrno(int error);
