#pragma once
// The calling thread's last operating-system error of the serial layer, as
// the platform layer mapped it (2 no such port, 5 in use, otherwise the
// error number). A platform operation that fails sets it; the dispatcher
// reads it to form its negative result code.

#include <cstdint>

int32_t SioLastError();
void SetSioLastError(int32_t code);
