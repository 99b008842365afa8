#include "serial/DeviceLine.h"

#include "serial/TermiosLine.h"

bool ReadDeviceLine(intptr_t device, Dcb& dcb) {
  termios2 line{};
  if (device < 0 || ReadTermios(static_cast<int>(device), line) != 0) return false;
  dcb = TermiosToDcb(line, Dcb{});
  return true;
}
