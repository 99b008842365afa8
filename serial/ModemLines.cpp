#include "serial/ModemLines.h"

#include <sys/ioctl.h>

#include <cerrno>

#include "serial/CommCodes.h"

int ReadModemLineBits(int device, uint8_t& lines) {
  int status = 0;
  if (ioctl(device, TIOCMGET, &status) != 0) return errno;
  lines = 0;
  if (status & TIOCM_CTS) lines |= kModemCts;
  if (status & TIOCM_DSR) lines |= kModemDsr;
  if (status & TIOCM_RI) lines |= kModemRing;
  if (status & TIOCM_CD) lines |= kModemCarrier;
  return 0;
}

bool NoModemLines(int error) { return error == ENOTTY || error == EINVAL; }
