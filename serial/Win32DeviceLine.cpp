#include <windows.h>

#include "serial/DeviceLine.h"
#include "serial/Win32Records.h"

bool ReadDeviceLine(intptr_t device, Dcb& dcb) {
  DCB line{};
  line.DCBlength = sizeof(line);
  if (device <= 0 || !GetCommState(reinterpret_cast<HANDLE>(device), &line)) return false;
  dcb = FromWin32Dcb(line);
  return true;
}
