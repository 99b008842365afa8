#include "serial/SerialDevice.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "serial/TermiosLine.h"

namespace {

// A ttyS node the kernel created without a UART behind it answers with an
// unknown port type (older kernels fail its terminal settings with EIO).
bool hardwareMissing(int device) {
  serial_struct serial{};
  return ioctl(device, TIOCGSERIAL, &serial) == 0 && serial.type == PORT_UNKNOWN;
}

// Another program that keeps the device in exclusive mode without a lock.
bool heldExclusively(int device) {
  int exclusive = 0;
  return ioctl(device, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

// The error number of a refused claim on an open descriptor, or 0.
int claim(int device) {
  if (hardwareMissing(device)) return ENODEV;
  termios2 line{};
  if (const int error = ReadTermios(device, line)) return error;
  // The lock first: exclusive mode belongs to the terminal, not to this
  // descriptor, so setting or clearing it on a device someone else holds
  // would change their state.
  if (flock(device, LOCK_EX | LOCK_NB) != 0) return errno;
  if (heldExclusively(device)) return EBUSY;
  if (ioctl(device, TIOCEXCL) != 0) return errno;
  return 0;
}

}  // namespace

int OpenSerialDevice(const std::string& path, int& device, UucpLock& lock) {
  // The lock file first: a device another program announced is not touched.
  if (const int error = lock.Acquire(path)) return error;
  const int opened = open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  const int error = opened < 0 ? errno : claim(opened);
  if (error != 0) {
    if (opened >= 0) close(opened);
    lock.Release();
    return error;
  }
  device = opened;
  return 0;
}

int CloseSerialDevice(int device, UucpLock& lock) {
  ioctl(device, TIOCNXCL);
  flock(device, LOCK_UN);
  const int result = close(device) == 0 ? 0 : errno;
  lock.Release();
  return result;
}
