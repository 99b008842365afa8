#include "serial/WakeEvent.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "serial/Deadline.h"

namespace {

int createEventDescriptor() {
  const int descriptor = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (descriptor < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  return descriptor;
}

}  // namespace

WakeEvent::WakeEvent() : descriptor_(createEventDescriptor()) {}

WakeEvent::~WakeEvent() { close(descriptor_); }

void WakeEvent::Set() {
  const eventfd_t one = 1;
  // A full counter is still set: nothing to do when the write is refused.
  [[maybe_unused]] const ssize_t written = write(descriptor_, &one, sizeof one);
}

bool WakeEvent::Reset() {
  eventfd_t count = 0;
  return read(descriptor_, &count, sizeof count) == static_cast<ssize_t>(sizeof count);
}

bool WakeEvent::WaitFor(std::chrono::milliseconds timeout) {
  const Deadline deadline(timeout);
  pollfd wait{descriptor_, POLLIN, 0};
  for (;;) {
    const int ready = poll(&wait, 1, static_cast<int>(deadline.Remaining().count()));
    if (ready > 0) return Reset();
    if (ready == 0 || errno != EINTR) return false;
  }
}

void WakeEvent::Wait() {
  pollfd wait{descriptor_, POLLIN, 0};
  // Another waiter may take the event first: wait on until this one does.
  while (!(poll(&wait, 1, -1) > 0 && Reset())) {
  }
}
