#include "serial/DescriptorWait.h"

#include <poll.h>

#include <cerrno>

DescriptorReadiness WaitForDescriptor(int device, short events, WakeEvent& wake) {
  pollfd waits[] = {{device, events, 0}, {wake.Descriptor(), POLLIN, 0}};
  DescriptorReadiness readiness;
  if (poll(waits, 2, -1) < 0) {
    // A signal only cuts the wait short.
    if (errno != EINTR) readiness.Error = errno;
    return readiness;
  }
  readiness.DeviceEvents = waits[0].revents;
  if (waits[1].revents != 0) readiness.Woken = wake.Reset();
  return readiness;
}
