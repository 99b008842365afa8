#include "serial/SioPosixThread.h"

#include <poll.h>

#include <cerrno>

TSioPosixThread::Readiness TSioPosixThread::WaitForDevice(short events, WakeEvent& wake) {
  pollfd waits[] = {{Device(), events, 0}, {wake.Descriptor(), POLLIN, 0}};
  Readiness readiness;
  const int ready = poll(waits, 2, static_cast<int>(TSioPosixDispatcher::kThreadWait.count()));
  if (ready < 0) {
    // A signal only cuts the wait short.
    if (errno != EINTR) readiness.Error = errno;
    return readiness;
  }
  readiness.DeviceEvents = waits[0].revents;
  if (waits[1].revents != 0) readiness.Woken = wake.Reset();
  return readiness;
}

void TSioPosixThread::Fail(int32_t code) {
  if (code != 0) SetReturnValue(code);
  port_.KillThreads();
}

void TSioPosixThread::FailWithError(int error, int32_t code) { Fail(error == EBADF ? 0 : code); }
