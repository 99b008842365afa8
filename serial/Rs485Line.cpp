#include "serial/Rs485Line.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <cerrno>

int SetKernelRs485(int device, bool on) {
  // Read first: the driver's delays and its other flags stay as they are.
  serial_rs485 mode{};
  if (ioctl(device, TIOCGRS485, &mode) != 0) return errno;
  if (on) {
    mode.flags =
        (mode.flags | SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND) & ~SER_RS485_RTS_AFTER_SEND;
  } else {
    mode.flags &= ~SER_RS485_ENABLED;
  }
  return ioctl(device, TIOCSRS485, &mode) == 0 ? 0 : errno;
}
